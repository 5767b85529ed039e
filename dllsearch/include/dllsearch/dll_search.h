// Where Windows looks for the DLLs a program loads while it runs.
//
// Windows looks for a DLL that is not one of its known DLLs in the program's own
// folder first, and for one loaded by a bare name also in the current folder.
// Whoever can write a file there (a USB stick, a download folder, a class share)
// could put a DLL of that name beside the program and have it run. So the programs
// import only known DLLs, which Windows always takes from its system folder (a test
// reads their import tables), and each one calls SearchDllsInSystemFolderOnly before
// anything else, so that a DLL loaded later, by the program or by a system DLL on its
// behalf, comes from the system folder too. A LoadLibraryExW the programs make
// themselves names the system folder (LOAD_LIBRARY_SEARCH_SYSTEM32).
#pragma once

// Lets Windows look for DLLs loaded from now on in its system folder only. The call
// it makes exists from Windows 8 on, and on Windows 7 with update KB2533623: it is
// looked up at run time, so that the program still starts on a Windows 7 without
// that update, where nothing changes. False when it is missing or refused.
bool SearchDllsInSystemFolderOnly();
