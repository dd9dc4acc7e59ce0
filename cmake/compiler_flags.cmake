# Warnings are errors everywhere; the Windows build is linked statically so the
# saver needs no DLL beyond the system's own.
add_compile_options(-Wall -Wextra -Wshadow -Werror $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor>)

if(QUORBEL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0400 WINVER=0x0400)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()
