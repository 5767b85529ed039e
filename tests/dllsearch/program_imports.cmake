# cmake -DOBJDUMP=... -DPROGRAMS=a.exe;b.exe -P program_imports.cmake
# Fails when a program imports a DLL that is not a known DLL of Windows: Windows
# takes a known DLL from its system folder, but looks for any other in the program's
# own folder first, where a DLL of that name planted beside a portable copy would run.
# The programs delay-load nothing, and that is checked too, so that every DLL they
# import is in the import table read here.

cmake_minimum_required(VERSION 3.25)

# The DLLs that Windows lists as known DLLs on every version from 7 to 11. ntdll.dll
# is mapped before any of them, always from the system folder.
set(known_dlls
    advapi32.dll clbcatq.dll comdlg32.dll difxapi.dll gdi32.dll imagehlp.dll imm32.dll kernel32.dll msctf.dll
    msvcrt.dll normaliz.dll nsi.dll ntdll.dll ole32.dll oleaut32.dll psapi.dll rpcrt4.dll sechost.dll setupapi.dll
    shell32.dll shlwapi.dll user32.dll wldap32.dll ws2_32.dll)

set(faults "")
foreach(program ${PROGRAMS})
  get_filename_component(name ${program} NAME)
  execute_process(COMMAND ${OBJDUMP} -p ${program} OUTPUT_VARIABLE headers RESULT_VARIABLE code)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} cannot read ${program}")
  endif()
  string(REGEX MATCH "Entry d [0-9a-fA-F]+ ([0-9a-fA-F]+) Delay Import Directory" delay "${headers}")
  if(NOT delay OR NOT CMAKE_MATCH_1 MATCHES "^0+$")
    list(APPEND faults "${name} delay-loads DLLs (or its delay import directory could not be read)")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${headers}")
  set(imported "")
  foreach(line ${lines})
    string(REGEX REPLACE "^DLL Name: " "" dll "${line}")
    string(STRIP "${dll}" dll)
    string(TOLOWER "${dll}" dll)
    list(APPEND imported ${dll})
    if(NOT dll IN_LIST known_dlls)
      list(APPEND faults "${name} imports ${dll}, which is not a known DLL")
    endif()
  endforeach()
  # Every program imports kernel32: a list without it was not read.
  if(NOT "kernel32.dll" IN_LIST imported)
    list(APPEND faults "${name}: no import of kernel32.dll read")
  endif()
  message(STATUS "${name} imports ${imported}")
endforeach()
if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "${text}")
endif()
