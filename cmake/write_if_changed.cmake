# ambrevo_write_if_changed(FILE TEXT)
# Writes TEXT to FILE only when FILE does not hold it already, so that what depends on FILE
# is built again exactly when its content changes.
function(ambrevo_write_if_changed file text)
    set(previous "")
    if(EXISTS ${file})
        file(READ ${file} previous)
    endif()
    if(NOT previous STREQUAL text)
        file(WRITE ${file} "${text}")
    endif()
endfunction()
