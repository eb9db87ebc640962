# ktv_desktop_exec(<out> <program>): the Exec= value that runs the program at this absolute
# path, quoted and escaped as desktop entries want it (the same rules as DesktopExecValue in
# src/app/AppPathDesktopEntry.cpp). Used at configure time and by the install script.
function(ktv_desktop_exec out program)
  string(REPLACE "%" "%%" arg "${program}")
  string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" arg "${arg}")
  if(program MATCHES "[ \t\n\"'\\\\><~|&;$*?#()`]")
    set(arg "\"${arg}\"")
  endif()
  string(REPLACE "\\" "\\\\" arg "${arg}")
  set(${out} "${arg}" PARENT_SCOPE)
endfunction()

# ktv_desktop_string(<out> <text>): a string value of a desktop entry.
function(ktv_desktop_string out text)
  string(REPLACE "\\" "\\\\" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
