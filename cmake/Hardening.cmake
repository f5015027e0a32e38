# SPDX-License-Identifier: GPL-3.0-or-later
# The hardening that Debian builds its packages with (dpkg-buildflags, hardening=+all):
# fortified libc calls, a read-only relocation table bound at start, a stack protector.
# GCC and Clang on Linux; not in Debug builds, where fortification needs optimisation.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    set(optimised $<NOT:$<CONFIG:Debug>>)
    # Undefined first: some compilers define it already, and a redefinition is a warning.
    add_compile_options($<${optimised}:-U_FORTIFY_SOURCE> $<${optimised}:-D_FORTIFY_SOURCE=2>
        -fstack-protector-strong)
    add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
