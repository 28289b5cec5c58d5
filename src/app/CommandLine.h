// The program's command line: one table of options, each carried out by a
// function that returns the exit status. Without options the windows open
// (with a plot file, when one is named); an option that works without
// windows prints its result and ends the program: 0 on success, 1 with the
// window's message on stderr on failure, 2 for a usage error.
#pragma once

// The whole program, as main runs it.
int RunProgram(int argc, char** argv);
