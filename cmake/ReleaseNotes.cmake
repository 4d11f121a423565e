# Release notes from CHANGELOG.md, in the two forms the Linux install ships:
# the <release> elements of the AppStream metainfo and a Debian changelog.
#
#   kolvane_release_notes(CHANGELOG_FILE MAINTAINER)
#
# sets, in the caller's scope:
#   KOLVANE_METAINFO_RELEASES  the <release> elements, newest first
#   KOLVANE_DEBIAN_CHANGELOG   the whole text of debian/changelog
#
# Each `## [VERSION] - YYYY-MM-DD` section is a release (`[Unreleased]` is
# not); each `### Kind` heading in it a group of entries; each `- ` item an
# entry, continued on the lines indented under it. Inline Markdown (code,
# emphasis, links) becomes plain text.

# The weekday of a date, as a Debian changelog names it (Sakamoto's method).
function(_kolvane_weekday year month day out)
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR index "${month} - 1")
  list(GET offsets ${index} offset)
  if(month LESS 3)
    math(EXPR year "${year} - 1")
  endif()
  math(EXPR weekday "(${year} + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${offset} + ${day}) % 7")
  set(names Sun Mon Tue Wed Thu Fri Sat)
  list(GET names ${weekday} name)
  set(${out} ${name} PARENT_SCOPE)
endfunction()

# Markdown's inline marks dropped: `code`, **strong**, *emphasis*, [text](url).
function(_kolvane_plain_text text out)
  string(REGEX REPLACE "\\[([^][]*)\\]\\([^)]*\\)" "\\1" text "${text}")
  string(REPLACE "`" "" text "${text}")
  string(REPLACE "**" "" text "${text}")
  string(REGEX REPLACE "(^|[ (])\\*([^ *][^*]*)\\*" "\\1\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(_kolvane_xml_text text out)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The text as lines of at most 79 characters: the first starts with `first`,
# the others with `next`.
function(_kolvane_wrap text first next out)
  # Brackets travel as control characters through the list of words.
  string(ASCII 2 open)
  string(ASCII 3 close)
  string(REPLACE "[" "${open}" text "${text}")
  string(REPLACE "]" "${close}" text "${text}")
  string(REGEX MATCHALL "[^ ]+" words "${text}")
  set(result "")
  set(line "${first}")
  set(empty TRUE)
  foreach(word IN LISTS words)
    string(LENGTH "${line} ${word}" length)
    if(empty)
      string(APPEND line "${word}")
      set(empty FALSE)
    elseif(length GREATER 79)
      string(APPEND result "${line}\n")
      set(line "${next}${word}")
    else()
      string(APPEND line " ${word}")
    endif()
  endforeach()
  set(result "${result}${line}\n")
  string(REPLACE "${open}" "[" result "${result}")
  string(REPLACE "${close}" "]" result "${result}")
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

function(kolvane_release_notes changelog maintainer)
  file(READ "${changelog}" text)
  # A CMake list can't hold ';' or unbalanced brackets: they travel as
  # control characters until the text is written out.
  string(ASCII 1 semicolon)
  string(ASCII 2 open)
  string(ASCII 3 close)
  string(REPLACE ";" "${semicolon}" text "${text}")
  string(REPLACE "[" "${open}" text "${text}")
  string(REPLACE "]" "${close}" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  list(APPEND lines "## ${open}end${close}")  # closes the last release

  set(xml "")
  set(debian "")
  set(version "")  # of the release being read; empty outside one
  set(group "")
  set(item "")
  foreach(raw IN LISTS lines)
    string(REPLACE "${open}" "[" line "${raw}")
    string(REPLACE "${close}" "]" line "${line}")
    string(REGEX REPLACE "[ \t\r]+$" "" line "${line}")

    # An entry ends at a blank line, the next entry or a heading.
    if(NOT line MATCHES "^  +[^ ]" AND NOT item STREQUAL "")
      _kolvane_plain_text("${item}" item)
      _kolvane_xml_text("${item}" escaped)
      string(APPEND xml "          <li>${escaped}</li>\n")
      _kolvane_wrap("${item}" "    - " "      " wrapped)
      string(APPEND debian "${wrapped}")
      set(item "")
    endif()
    # A group ends at the next group or release.
    if(line MATCHES "^###? " AND NOT group STREQUAL "")
      string(APPEND xml "        </ul>\n")
      set(group "")
    endif()

    if(line MATCHES "^## ")
      if(NOT version STREQUAL "")
        string(APPEND xml "      </description>\n    </release>\n")
        string(APPEND debian "\n -- ${maintainer}  ${date}\n\n")
        set(version "")
      endif()
      if(line MATCHES "^## \\[([^]]+)\\] - ([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
        set(version "${CMAKE_MATCH_1}")
        set(year "${CMAKE_MATCH_2}")
        set(month "${CMAKE_MATCH_3}")
        set(day "${CMAKE_MATCH_4}")
        math(EXPR month_number "${month}")
        math(EXPR day_number "${day}")
        _kolvane_weekday(${year} ${month_number} ${day_number} weekday)
        set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
        math(EXPR index "${month_number} - 1")
        list(GET months ${index} month_name)
        set(date "${weekday}, ${day} ${month_name} ${year} 00:00:00 +0000")
        string(APPEND xml "    <release version=\"${version}\" date=\"${year}-${month}-${day}\">\n"
          "      <description>\n")
        string(APPEND debian "kolvane (${version}) unstable; urgency=medium\n\n")
      elseif(NOT line MATCHES "^## \\[(Unreleased|end)\\]$")
        message(FATAL_ERROR "${changelog}: a release heading must read "
          "\"## [VERSION] - YYYY-MM-DD\", not \"${line}\"")
      endif()
    elseif(version STREQUAL "")
      # Text before the first release, or under [Unreleased].
    elseif(line MATCHES "^### (.+)$")
      set(group "${CMAKE_MATCH_1}")
      string(APPEND xml "        <p>${group}:</p>\n        <ul>\n")
      string(APPEND debian "  * ${group}:\n")
    elseif(line MATCHES "^[-*] (.+)$")
      set(item "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^  +([^ ].*)$" AND NOT item STREQUAL "")
      string(APPEND item " ${CMAKE_MATCH_1}")
    elseif(NOT line STREQUAL "")
      message(FATAL_ERROR "${changelog}: release ${version} has a line that is neither a "
        "\"### \" heading nor a \"- \" entry: \"${line}\"")
    endif()
  endforeach()

  foreach(out xml debian)
    string(REPLACE "${semicolon}" ";" ${out} "${${out}}")
    string(REPLACE "${open}" "[" ${out} "${${out}}")
    string(REPLACE "${close}" "]" ${out} "${${out}}")
  endforeach()
  # The last entry has no blank line after it.
  string(REGEX REPLACE "\n\n$" "\n" debian "${debian}")
  set(KOLVANE_METAINFO_RELEASES "${xml}" PARENT_SCOPE)
  set(KOLVANE_DEBIAN_CHANGELOG "${debian}" PARENT_SCOPE)
endfunction()
