# SPDX-License-Identifier: GPL-3.0-or-later
# mq7410_warnings(target): the project's warning set, errors when MQ7410_WERROR is on.
# GCC and Clang take the GNU flags; MSVC has its own spelling of the same request.
function(mq7410_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4)
        if(MQ7410_WERROR)
            target_compile_options(${target} PRIVATE /WX)
        endif()
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
        if(MQ7410_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    endif()
endfunction()
