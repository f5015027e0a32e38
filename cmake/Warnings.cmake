# mq7410_warnings(target): the project's warning set, errors when MQ7410_WERROR is on.
function(mq7410_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(MQ7410_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
