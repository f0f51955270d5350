# ambrevo_bytes_as_cpp(FILE VARIABLE): the bytes of FILE as a C++ initializer list's
# contents ("0x3c,0x21,..."), empty for an empty file. Included by the embed_* scripts.
function(ambrevo_bytes_as_cpp file variable)
    file(READ "${file}" hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    set(${variable} "${bytes}" PARENT_SCOPE)
endfunction()
