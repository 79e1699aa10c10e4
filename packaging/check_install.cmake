# SPDX-License-Identifier: MIT
# Installs a built tree into a scratch prefix and checks what arrives.
# Usage: cmake -DBUILD_DIR=... -DPREFIX=... -DICON_SIZES=16,24,... -DVERSION=x.y.z
#        -P check_install.cmake

cmake_minimum_required(VERSION 3.25)

foreach(arg BUILD_DIR PREFIX ICON_SIZES VERSION)
    if(NOT ${arg})
        message(FATAL_ERROR "check_install.cmake needs -D${arg}=...")
    endif()
endforeach()
string(REPLACE "," ";" ICON_SIZES "${ICON_SIZES}")

set(failures 0)
macro(fail)
    string(JOIN "" _message ${ARGN})
    message("FAIL ${_message}")
    math(EXPR failures "${failures} + 1")
endmacro()

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${status}):\n${output}")
endif()

# Exactly these files: anything more is a build or test program, a library
# or a header that an install rule let slip into the package.
set(expected
    bin/dirchart
    share/applications/dirchart.desktop
    share/dirchart/samples/261208.log
    share/doc/dirchart/changelog.gz
    share/doc/dirchart/copyright
    share/man/man1/dirchart.1.gz
    share/metainfo/invalid.dirchart.dirchart.metainfo.xml)
foreach(size IN LISTS ICON_SIZES)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/dirchart.png)
endforeach()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT expected)
list(SORT installed)
if(NOT installed STREQUAL expected)
    set(missing ${expected})
    list(REMOVE_ITEM missing ${installed})
    set(extra ${installed})
    list(REMOVE_ITEM extra ${expected})
    list(JOIN missing ", " missing)
    list(JOIN extra ", " extra)
    fail("installed files differ; missing: [${missing}], unexpected: [${extra}]")
endif()

# The program: an ELF executable, not a script or a stale copy of something else.
if(EXISTS ${PREFIX}/bin/dirchart)
    file(READ ${PREFIX}/bin/dirchart magic LIMIT 4 HEX)
    if(NOT magic STREQUAL "7f454c46")
        fail("bin/dirchart is not an ELF file (starts with ${magic})")
    endif()
    execute_process(COMMAND test -x ${PREFIX}/bin/dirchart RESULT_VARIABLE not_executable)
    if(not_executable)
        fail("bin/dirchart is not executable")
    endif()
endif()

# The sample day is a whole day's log, so the Open dialog offers a full chart.
set(log ${PREFIX}/share/dirchart/samples/261208.log)
if(EXISTS ${log})
    file(SIZE ${log} log_size)
    if(NOT log_size EQUAL 259200)
        fail("the sample log has ${log_size} bytes, not a whole day's 259200")
    endif()
endif()

# Each icon is a PNG of the size its folder promises: the signature, then the
# IHDR chunk with width and height as 32-bit big-endian numbers.
foreach(size IN LISTS ICON_SIZES)
    set(png ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/dirchart.png)
    if(NOT EXISTS ${png})
        continue()
    endif()
    file(READ ${png} head LIMIT 24 HEX)
    string(SUBSTRING "${head}" 0 16 signature)
    string(SUBSTRING "${head}" 24 8 chunk)
    string(SUBSTRING "${head}" 32 8 width_hex)
    string(SUBSTRING "${head}" 40 8 height_hex)
    math(EXPR width "0x${width_hex}")
    math(EXPR height "0x${height_hex}")
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT chunk STREQUAL "49484452")
        fail("${size}x${size} icon is not a PNG file")
    elseif(NOT width EQUAL size OR NOT height EQUAL size)
        fail("${size}x${size} icon is ${width}x${height}")
    endif()
endforeach()

# The menu entry starts the installed program and shows the installed icon,
# and speaks Japanese as well as English.
set(entry ${PREFIX}/share/applications/dirchart.desktop)
if(EXISTS ${entry})
    # Read whole rather than as a list of lines: values may hold semicolons.
    file(READ ${entry} text)
    foreach(key Exec Icon Name Name[ja] Comment Comment[ja] Terminal)
        string(REPLACE "[" "\\[" key_pattern "${key}")
        string(REPLACE "]" "\\]" key_pattern "${key_pattern}")
        string(REGEX MATCHALL "\n${key_pattern}=[^\n]*" found "\n${text}")
        list(LENGTH found count)
        if(NOT count EQUAL 1)
            fail("the desktop entry has ${count} ${key}= lines, not one")
            set(value_${key} "")
        else()
            string(REGEX REPLACE "^\n[^=]*=" "" value_${key} "${found}")
        endif()
    endforeach()
    string(REGEX REPLACE " .*" "" program "${value_Exec}")
    if(NOT EXISTS ${PREFIX}/bin/${program} OR program STREQUAL "")
        fail("Exec=${value_Exec} does not start an installed program")
    endif()
    foreach(size IN LISTS ICON_SIZES)
        if(NOT EXISTS ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/${value_Icon}.png)
            fail("Icon=${value_Icon} has no ${size}x${size} icon installed")
        endif()
    endforeach()
    if(NOT value_Terminal STREQUAL "false")
        fail("Terminal=${value_Terminal}; the viewer needs no terminal")
    endif()
endif()

# The metadata and the manual page as software centres and man read them:
# any error, warning or troff complaint fails. (appstreamcli's pedantic
# notes are not asked for.) man reads the page in a UTF-8 locale, as Debian's
# own checks do, since it names two buttons by their Japanese labels.
set(metainfo ${PREFIX}/share/metainfo/invalid.dirchart.dirchart.metainfo.xml)
set(man_page ${PREFIX}/share/man/man1/dirchart.1.gz)
# quiet_check(FILE COMMAND...): COMMAND on FILE exits 0, writes nothing to
# stderr and no E: or W: line to stdout.
macro(quiet_check file)
    if(EXISTS ${file})
        execute_process(COMMAND ${ARGN} ${file} RESULT_VARIABLE status
                        OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
        string(REGEX MATCHALL "(^|\n)[EW]: [^\n]*" complaints "${stdout}")
        if(NOT status EQUAL 0 OR stderr MATCHES "[^ \n]" OR complaints)
            string(JOIN " " command ${ARGN})
            fail("${command} ${file} (exit status ${status}):\n${complaints}${stderr}")
        endif()
    endif()
endmacro()
quiet_check(${metainfo} appstreamcli validate --no-net)
quiet_check(${man_page} env LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l)

# Each of them names the release being installed.
file(STRINGS ${metainfo} release REGEX "<release " LIMIT_COUNT 1)
execute_process(COMMAND gzip -dc ${man_page} COMMAND grep -m1 "^\\.TH" OUTPUT_VARIABLE title)
execute_process(COMMAND gzip -dc ${PREFIX}/share/doc/dirchart/changelog.gz COMMAND head -n 1
                OUTPUT_VARIABLE changelog)
macro(names_version what line pattern)
    if(NOT "${line}" MATCHES "${pattern}")
        fail("the ${what} does not name version ${VERSION}: ${line}")
    endif()
endmacro()
names_version("metainfo's newest release" "${release}" "version=\"${VERSION}\"")
names_version("manual page's title" "${title}" "\"dirchart ${VERSION}\"")
names_version("changelog's latest entry" "${changelog}" "^dirchart [(]${VERSION}[)]")

# The copyright file is in Debian's machine-readable format.
file(STRINGS ${PREFIX}/share/doc/dirchart/copyright format LIMIT_COUNT 1)
if(NOT format MATCHES "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$")
    fail("share/doc/dirchart/copyright is not machine-readable: ${format}")
endif()

if(failures GREATER 0)
    message(FATAL_ERROR "${failures} install check(s) failed")
endif()
message("ok   ${PREFIX} holds the expected files")
