# Writes the resource script that builds the browser player's page into the Windows tool:
#   cmake -DSITE=<the web build's site folder> -DLIST=<tools/pack/page/web_site.h>
#         -DOUTPUT=<the .rc file> -P embed_web_site.cmake
# The files are those that kSiteFiles in LIST names, each an RCDATA resource named as
# SiteResourceName names it: the file's name in capitals, "_" for any other character than
# a letter or digit. Without every one of them in SITE (the web build has not run), the
# script holds none, and the tool says so when asked for the page. Run at every build: the
# script names each file's hash, so that it changes, and the resources are compiled again,
# exactly when a file of the page does; it is rewritten only then.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/write_if_changed.cmake)

foreach(variable SITE LIST OUTPUT)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "embed_web_site.cmake needs -D${variable}=...")
    endif()
endforeach()

file(READ ${LIST} header)
string(REGEX MATCH "kSiteFiles =[^;]*;" list_text "${header}")
string(REGEX MATCHALL "\"[^\"]+\"" names "${list_text}")
list(TRANSFORM names REPLACE "\"" "")
if(NOT names)
    message(FATAL_ERROR "no kSiteFiles list of file names in ${LIST}")
endif()

set(missing "")
foreach(name ${names})
    if(NOT EXISTS ${SITE}/${name})
        list(APPEND missing ${name})
    endif()
endforeach()

set(script "// Written by cmake/embed_web_site.cmake at each build: the browser player's page.\n")
if(missing)
    list(JOIN missing ", " missing_text)
    message(WARNING "The browser player's page is not built (${SITE} lacks ${missing_text}): "
        "this ambrevo-pack is built without it, and its serve, edit and web need --site. "
        "Run \"make web\" first, then build the tool again.")
    string(APPEND script "// Not built into this tool: ${SITE} lacks ${missing_text}.\n"
        "// A resource script must hold a resource.\n"
        "AMBREVO_PAGE_NOT_BUILT RCDATA { \"run make web, then build the tool again\" }\n")
else()
    set(resources "")
    foreach(name ${names})
        string(TOUPPER ${name} resource)
        string(REGEX REPLACE "[^A-Z0-9]" "_" resource ${resource})
        if(resource IN_LIST resources)
            message(FATAL_ERROR "two files of the page have the resource name ${resource}")
        endif()
        list(APPEND resources ${resource})
        file(SHA256 ${SITE}/${name} hash)
        string(APPEND script "// sha256 ${hash}\n${resource} RCDATA \"${SITE}/${name}\"\n")
    endforeach()
endif()

ambrevo_write_if_changed(${OUTPUT} "${script}")
