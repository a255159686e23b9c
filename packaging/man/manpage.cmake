# Writes a program's manual page from its --help with help2man, gzipped.
#   cmake -DPROGRAM=<built program> -DNAME=<one line for NAME> -DVERSION=<x.y.z>
#         -DINCLUDE=<.h2m file> -DOUTPUT=<page.1.gz> -DHELP2MAN=<path> -DGZIP=<path>
#         [-DCOMMANDS=ON] -P manpage.cmake
# With COMMANDS=ON the program is a command-line tool with subcommands: each
# command listed under "Commands:" in its --help gets a subsection of its own,
# made from "PROGRAM COMMAND --help".
cmake_minimum_required(VERSION 3.22)

foreach(var PROGRAM NAME VERSION INCLUDE OUTPUT HELP2MAN GZIP)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "manpage.cmake: ${var} is not set")
    endif()
endforeach()

get_filename_component(program_dir "${PROGRAM}" DIRECTORY)
get_filename_component(program_name "${PROGRAM}" NAME)
get_filename_component(output_dir "${OUTPUT}" DIRECTORY)

# Run through PATH, so that the usage lines name the program as a user types
# it. The programs print their help before opening a display; offscreen
# covers a build without one all the same. A sanitizer build leaks nothing
# the page needs to hear about.
set(ENV{PATH} "${program_dir}:$ENV{PATH}")
set(ENV{QT_QPA_PLATFORM} offscreen)
set(ENV{ASAN_OPTIONS} detect_leaks=0)

# Text for roff: backslashes and hyphens escaped, a leading dot or quote
# kept from being read as a request.
function(roff_text out text)
    string(REPLACE "\\" "\\e" text "${text}")
    string(REPLACE "-" "\\-" text "${text}")
    if(text MATCHES "^[.']")
        set(text "\\&${text}")
    endif()
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# "-p, --port <N|PATH>" as "\fB\-p\fR, \fB\-\-port\fR <N|PATH>".
function(roff_option out heading)
    set(result "")
    string(REPLACE ", " ";" names "${heading}")
    foreach(name IN LISTS names)
        if(name MATCHES "^(-[^ ]*)( (.*))?$")
            roff_text(flag "${CMAKE_MATCH_1}")
            set(item "\\fB${flag}\\fR")
            if(CMAKE_MATCH_3)
                roff_text(argument "${CMAKE_MATCH_3}")
                string(APPEND item " ${argument}")
            endif()
        else()
            roff_text(item "${name}")
        endif()
        if(result)
            string(APPEND result ", ")
        endif()
        string(APPEND result "${item}")
    endforeach()
    set(${out} "${result}" PARENT_SCOPE)
endfunction()

# The lines of a program's output as a list; semicolons survive as a
# placeholder that roff_lines() puts back.
function(run_lines out)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_VARIABLE errors)
    if(NOT status EQUAL 0)
        list(JOIN ARGN " " command)
        message(FATAL_ERROR "manpage.cmake: \"${command}\" failed (${status}): ${errors}")
    endif()
    string(REPLACE ";" "<semicolon>" text "${text}")
    string(REGEX REPLACE "\n$" "" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(${out} "${lines}" PARENT_SCOPE)
endfunction()

# One subsection per command: its usage line, its description, its options
# and arguments. The exit codes are the program's and stand in its own
# section; -h, --help is said once for every command.
function(command_sections out program)
    run_lines(lines "${program}" --help)
    set(commands "")
    set(in_commands FALSE)
    foreach(line IN LISTS lines)
        if(line MATCHES "^Commands:")
            set(in_commands TRUE)
        elseif(in_commands AND line MATCHES "^  ([a-z][a-z0-9-]*)  ")
            list(APPEND commands "${CMAKE_MATCH_1}")
        elseif(in_commands AND NOT line MATCHES "^ ")
            set(in_commands FALSE)
        endif()
    endforeach()
    if(NOT commands)
        message(FATAL_ERROR "manpage.cmake: \"${program} --help\" lists no commands")
    endif()

    set(roff "[COMMANDS]\n.PP\nEvery command also takes \\fB\\-h\\fR, \\fB\\-\\-help\\fR for its own help.\n")
    foreach(command IN LISTS commands)
        run_lines(lines "${program}" "${command}" --help)
        string(APPEND roff ".SS \"${command}\"\n")
        set(part description)
        set(entry "")
        foreach(line IN LISTS lines)
            string(REPLACE "<semicolon>" ";" line "${line}")
            if(line MATCHES "^Usage: (.*)$")
                roff_text(usage "${CMAKE_MATCH_1}")
                string(APPEND roff ".B ${usage}\n")
            elseif(line MATCHES "^(Options|Arguments):$")
                set(part list)
            elseif(line MATCHES "^[A-Z][A-Za-z ]*:$")
                set(part skip)
            elseif(line STREQUAL "" OR part STREQUAL "skip")
                continue()
            elseif(part STREQUAL "description")
                roff_text(text "${line}")
                string(APPEND roff ".PP\n${text}\n")
            elseif(line MATCHES "^  ([^ ]+( [^ ]+)*)  +([^ ].*)$")
                # A new option or argument: its names, then its text.
                set(heading "${CMAKE_MATCH_1}")
                roff_text(text "${CMAKE_MATCH_3}")
                if(heading MATCHES "^-h, --help$")
                    set(entry "")
                    continue()
                endif()
                if(heading MATCHES "^-")
                    roff_option(head "${heading}")
                else()
                    roff_text(head "${heading}")
                    set(head "\\fI${head}\\fR")
                endif()
                set(entry "${head}")
                string(APPEND roff ".TP\n${head}\n${text}\n")
            elseif(line MATCHES "^   +([^ ].*)$" AND entry)
                # The text of the option above, continued.
                roff_text(text "${CMAKE_MATCH_1}")
                string(APPEND roff "${text}\n")
            endif()
        endforeach()
    endforeach()
    set(${out} "${roff}" PARENT_SCOPE)
endfunction()

set(includes --include "${INCLUDE}")
if(COMMANDS)
    command_sections(commands_roff "${PROGRAM}")
    set(commands_include "${output_dir}/${program_name}-commands.h2m")
    file(WRITE "${commands_include}" "${commands_roff}")
    list(APPEND includes --include "${commands_include}")
endif()

set(page "${output_dir}/${program_name}.1")
execute_process(
    COMMAND "${HELP2MAN}" --no-info "--version-string=${VERSION}" "--name=${NAME}" ${includes}
            "--output=${page}" "${program_name}"
    RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "manpage.cmake: help2man failed for ${program_name} (${status}): ${errors}")
endif()

# gzip -9n: no name or time stamp in the header, so the same page makes the
# same file.
execute_process(COMMAND "${GZIP}" -9n -c "${page}" OUTPUT_FILE "${OUTPUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    file(REMOVE "${OUTPUT}")
    message(FATAL_ERROR "manpage.cmake: gzip failed for ${page}")
endif()
