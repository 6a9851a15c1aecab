# Warnings and instrumentation live on one interface target that every
# target links privately, so nothing is set globally.
add_library(quorvel_options INTERFACE)
target_compile_options(quorvel_options INTERFACE -Wall -Wextra)
target_compile_definitions(quorvel_options INTERFACE QUORVEL_VERSION="${PROJECT_VERSION}")

if(QUORVEL_SANITIZE)
  target_compile_options(quorvel_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(quorvel_options INTERFACE -fsanitize=address,undefined)
endif()
