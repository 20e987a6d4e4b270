# DLLs that start-up does not need: the transfer's (a send), the system's picture decoder's
# (pictures other than the shipped GIFs), the see-through drawing's (the padlock), the shell's
# (the tray icon, added after the first paint, and opening pages) and the accessibility
# library's (when a screen reader first asks). They are bound on the first call into them
# instead of when the program starts, so a program waiting in the tray never loads them.
# Each gets a delay-import library listing the functions the program calls.
find_program(BREVIO_DLLTOOL x86_64-w64-mingw32-dlltool REQUIRED)
set(delay_wininet HttpOpenRequestW HttpQueryInfoW HttpSendRequestW InternetCloseHandle
    InternetConnectW InternetCrackUrlW InternetOpenW InternetReadFile InternetSetOptionW)
set(delay_ole32 CoInitializeEx CreateStreamOnHGlobal)
set(delay_oleaut32 OleLoadPicture SysAllocStringLen)
set(delay_msimg32 TransparentBlt)
set(delay_shell32 ShellExecuteW Shell_NotifyIconW)
set(delay_oleacc CreateStdAccessibleObject LresultFromObject)

set(delay_import_libs "")
foreach(dll wininet ole32 oleaut32 msimg32 shell32 oleacc)
  set(def ${CMAKE_BINARY_DIR}/delay/${dll}.def)
  set(lib ${CMAKE_BINARY_DIR}/delay/lib${dll}_delay.a)
  list(JOIN delay_${dll} "\n" exports)
  # Written only when it changes, or every configure would relink every program.
  file(CONFIGURE OUTPUT ${def} CONTENT "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n" @ONLY)
  add_custom_command(OUTPUT ${lib} DEPENDS ${def}
                     COMMAND ${BREVIO_DLLTOOL} -d ${def} -D ${dll}.dll -y ${lib})
  list(APPEND delay_import_libs ${lib})
endforeach()
add_custom_target(delay_imports DEPENDS ${delay_import_libs})
