# Fails unless the manifest built into the player names the player's own processor in its
# identity ("x86" in a 32-bit file, "amd64" in a 64-bit one) and asks for the version 6
# Common-Controls with processorArchitecture="*" (a 64-bit program whose manifest says
# "x86" does not start on Windows), and declares per-monitor DPI awareness. The manifest is read back from the file by the resource
# compiler and the file's machine by objdump (no Wine needed).
# Run as: cmake -DWINDRES=... -DOBJDUMP=... -DPLAYER=... -P player_manifest_check.cmake
execute_process(COMMAND ${OBJDUMP} -f ${PLAYER}
    RESULT_VARIABLE status OUTPUT_VARIABLE header ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} cannot read ${PLAYER}: ${errors}")
endif()
if(header MATCHES "file format pei-i386")
    set(architecture x86)
elseif(header MATCHES "file format pei-x86-64")
    set(architecture amd64)
else()
    message(FATAL_ERROR "${PLAYER} is neither a 32-bit nor a 64-bit x86 Windows program: "
        "${header}")
endif()

# The resource compiler writes the manifest (type 24) as one string literal a line, with
# its quotes doubled, between BEGIN and END.
execute_process(COMMAND ${WINDRES} --input-format=coff -i ${PLAYER} -O rc
    RESULT_VARIABLE status OUTPUT_VARIABLE resources ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${WINDRES} cannot read the resources of ${PLAYER}: ${errors}")
endif()
string(FIND "${resources}" "\n1 24 " at)
if(at EQUAL -1)
    message(FATAL_ERROR "${PLAYER} carries no manifest (resource 1 of type 24)")
endif()
string(SUBSTRING "${resources}" ${at} -1 block)
string(FIND "${block}" "\nEND" end)
string(SUBSTRING "${block}" 0 ${end} block)
string(REGEX MATCHALL "\"([^\"]|\"\")*\"" literals "${block}")
set(manifest "")
foreach(literal IN LISTS literals)
    string(REGEX REPLACE "^\"(.*)\"$" "\\1" literal "${literal}")
    string(APPEND manifest "${literal}")
endforeach()
string(REPLACE "\"\"" "\"" manifest "${manifest}")
string(REGEX REPLACE "(\\\\[rnt]|[ \t\r\n])+" " " manifest "${manifest}")

# The assemblyIdentity elements in file order: the program's own, then its dependencies'.
string(REGEX MATCHALL "<assemblyIdentity [^>]*>" identities "${manifest}")
list(LENGTH identities count)
if(count LESS 1)
    message(FATAL_ERROR "${PLAYER}: its manifest has no assemblyIdentity: ${manifest}")
endif()
list(GET identities 0 own)
if(NOT own MATCHES "processorArchitecture=\"${architecture}\"")
    message(FATAL_ERROR "${PLAYER} is an ${architecture} program, but its manifest's identity "
        "does not say processorArchitecture=\"${architecture}\": ${own}")
endif()
set(controls "")
foreach(identity IN LISTS identities)
    if(identity MATCHES "name=\"Microsoft.Windows.Common-Controls\"")
        set(controls "${identity}")
    endif()
endforeach()
if(controls STREQUAL "")
    message(FATAL_ERROR "${PLAYER}: its manifest asks for no Common-Controls: ${manifest}")
endif()
foreach(expected "processorArchitecture=\"*\"" "version=\"6.0.0.0\""
                 "publicKeyToken=\"6595b64144ccf1df\"")
    string(FIND "${controls}" "${expected}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "${PLAYER}: its Common-Controls dependency does not say "
            "${expected}: ${controls}")
    endif()
endforeach()
# Without a declared awareness Windows draws the window at 96 DPI and stretches it: blurry
# at 150 % and 200 %. Windows 10 1607 and later read dpiAwareness, older ones dpiAware.
foreach(expected
        "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>"
        "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2</dpiAwareness>")
    string(FIND "${manifest}" "${expected}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "${PLAYER}: its manifest does not declare ${expected}: ${manifest}")
    endif()
endforeach()
if(NOT manifest MATCHES "<application xmlns=\"urn:schemas-microsoft-com:asm.v3\"> ?<windowsSettings> ?<dpiAware")
    message(FATAL_ERROR "${PLAYER}: its DPI awareness is not in an asm.v3 application's "
        "windowsSettings: ${manifest}")
endif()
message(STATUS "${PLAYER} (${architecture}) carries a manifest of its own architecture")
