# Writes the changelog the Debian package carries from CHANGELOG.md, which is kept by hand:
#   cmake -DIN=CHANGELOG.md -DOUT=changelog -DPACKAGE=dtuconfig -DMAINTAINER="Name <mail>"
#         -P DebianChangelog.cmake
# Each "## VERSION — YYYY-MM-DD" heading starts an entry; its "- " items become "  * " items,
# their continuation lines are indented to match, and the entry ends with the maintainer line
# dated at noon UTC of its day.
file(STRINGS ${IN} lines ENCODING UTF-8)
set(out "")
set(entry "")
set(date "")

function(close_entry)
    if(date STREQUAL "")
        return()
    endif()
    execute_process(COMMAND date -u -R -d "${date} 12:00:00" OUTPUT_VARIABLE stamp
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    set(out "${out}${entry}\n -- ${MAINTAINER}  ${stamp}\n\n" PARENT_SCOPE)
endfunction()

foreach(line IN LISTS lines)
    if(line MATCHES "^## ([^ ]+) +[^ ]+ +([0-9]+-[0-9]+-[0-9]+)")
        close_entry()
        set(date ${CMAKE_MATCH_2})
        set(entry "${PACKAGE} (${CMAKE_MATCH_1}) unstable; urgency=medium\n\n")
    elseif(date STREQUAL "")
        # The title and the introduction before the first version.
    elseif(line MATCHES "^- (.*)")
        set(entry "${entry}  * ${CMAKE_MATCH_1}\n")
    elseif(line MATCHES "^ +(.*)")
        set(entry "${entry}    ${CMAKE_MATCH_1}\n")
    endif()
endforeach()
close_entry()
file(WRITE ${OUT} "${out}")
