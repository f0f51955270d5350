# ambrevo_debian_source(NAME HEADER [PATCHED])
# Unpacks the upstream tarball of a Debian source package into the build folder, fetching
# it with APT first (scripts/install-deps.sh enables APT's source entries). The newest
# version may be missing from a mirror (security updates live elsewhere), so every
# version APT knows is tried next. Sets <name>_root to the unpacked folder, which holds
# header once unpacked. PATCHED: dpkg-source unpacks the package instead, applying
# Debian's patches (its security fixes) as Debian's own build of it does.
function(ambrevo_debian_source name header)
    cmake_parse_arguments(PARSE_ARGV 2 SOURCE "PATCHED" "" "")
    set(sources ${CMAKE_BINARY_DIR}/third_party/debian-sources)
    set(root ${CMAKE_BINARY_DIR}/third_party/${name})
    set(${name}_root ${root} PARENT_SCOPE)
    if(EXISTS ${root}/${header})
        return()
    endif()
    file(GLOB tarball ${sources}/${name}_*.orig.tar.*)
    if(NOT tarball)
        file(MAKE_DIRECTORY ${sources})
        message(STATUS "Fetching Debian's ${name} source package")
        execute_process(COMMAND apt-cache showsrc ${name}
            OUTPUT_VARIABLE described ERROR_QUIET)
        string(REGEX MATCHALL "\nVersion: [^\n]+" versions "\n${described}")
        list(TRANSFORM versions REPLACE "\nVersion: " "${name}=")
        set(errors "")
        foreach(wanted ${name} ${versions})
            execute_process(COMMAND apt-get source --download-only ${wanted}
                WORKING_DIRECTORY ${sources}
                RESULT_VARIABLE fetched OUTPUT_QUIET ERROR_VARIABLE fetch_errors)
            file(GLOB tarball ${sources}/${name}_*.orig.tar.*)
            if(tarball)
                break()
            endif()
            string(APPEND errors "${wanted}: ${fetch_errors}")
        endforeach()
        if(NOT tarball)
            message(FATAL_ERROR "apt-get source ${name} failed: ${errors}"
                "Run scripts/install-deps.sh, which enables APT's source entries.")
        endif()
    endif()
    list(GET tarball 0 tarball)
    file(REMOVE_RECURSE ${root} ${root}.unpack)
    if(SOURCE_PATCHED)
        # The description beside the tarball names it, Debian's own files and their sums.
        string(REGEX REPLACE "\\.orig\\.tar\\.[^.]+$" "" version_prefix ${tarball})
        file(GLOB description ${version_prefix}-*.dsc)
        if(NOT description)
            message(FATAL_ERROR "no Debian description (.dsc) of ${tarball} in ${sources}")
        endif()
        list(GET description 0 description)
        execute_process(COMMAND dpkg-source --no-copy -x ${description} ${root}.unpack
            WORKING_DIRECTORY ${sources}
            RESULT_VARIABLE unpacked OUTPUT_VARIABLE unpack_output ERROR_VARIABLE unpack_output)
        if(NOT unpacked EQUAL 0 OR NOT EXISTS ${root}.unpack/${header})
            file(REMOVE_RECURSE ${root}.unpack)
            message(FATAL_ERROR "dpkg-source could not unpack ${description}: ${unpack_output}"
                "Run scripts/install-deps.sh, which installs dpkg-dev.")
        endif()
        file(RENAME ${root}.unpack ${root})
        return()
    endif()
    file(ARCHIVE_EXTRACT INPUT ${tarball} DESTINATION ${root}.unpack)
    file(GLOB unpacked ${root}.unpack/*)
    file(RENAME ${unpacked} ${root})
    file(REMOVE_RECURSE ${root}.unpack)
endfunction()
