# The 32-bit Windows build: the system against the system's own headers and
# import libraries, and the resources compiled into the executable.
enable_language(RC)

# The entry goes into the executable itself: the runtime's start-up code asks
# for WinMain only after the system's libraries are already searched.
set(OSTREL_WINMAIN ${CMAKE_SOURCE_DIR}/shell/winmain.cpp)
list(REMOVE_ITEM OSTREL_SHELL_SOURCES ${OSTREL_WINMAIN})

add_library(ostrel_system STATIC ${OSTREL_SCENE_SOURCES} ${OSTREL_SHELL_SOURCES} ${OSTREL_ABOUT_SOURCES})
target_include_directories(ostrel_system PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(ostrel_system PUBLIC glu32 opengl32 gdi32 user32 shell32 advapi32 kernel32)

# The screen saver: a GUI executable (-mwindows) named .scr, with the C and
# C++ runtimes linked in so that it runs on a bare system, symbols stripped.
add_executable(ostrel WIN32 ${OSTREL_WINMAIN} res/ostrel.rc)
set_target_properties(ostrel PROPERTIES SUFFIX ".scr")
target_link_libraries(ostrel PRIVATE ostrel_system)
target_link_options(ostrel PRIVATE -static -static-libgcc -static-libstdc++ -s)
