# SPDX-License-Identifier: GPL-3.0-or-later
# Warnings as errors for the project's own code.
function(telvaro_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror
                                             -Wno-error=deprecated-declarations)
endfunction()

if(TELVARO_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
