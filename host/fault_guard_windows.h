// The process's unhandled-exception filter: after the system's fault report
// the saver-running state is cleared, so a crash never leaves the desktop
// locked out of task switching, and the process ends with the fault's code
// (on the 95 family with the clearing call's result, as it always has).
//
// The filter is one per process and the last module to set it wins: a
// module loaded after start (the password verifier, an input method) may
// take it. So the host sets it at start and puts it back after every load
// and step it knows of, and before every tick.
//
// What no filter can cover on the 95 family: a fault inside the system's
// 16-bit parts (much of USER and GDI there) is handled by the 16-bit kernel,
// which ends the program without asking any filter; a module that takes the
// filter and faults before the next tick; and an end that runs no filter at
// all (a stack overflow, a debugger attached, End Task from outside).
#pragma once

void InstallFaultGuard();

// Sets the guard again, whatever filter has taken its place. Cheap enough
// for every tick; does nothing once a fault is being reported.
void KeepFaultGuard();
