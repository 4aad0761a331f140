// Running a program of the build tree from a Windows test, as a user runs it.
#pragma once

#include <string>

namespace wintest {

// The path of a program given relative to this test program's folder ('/' or '\').
std::string BuildTreeProgram(const std::string& relative);

// Runs the program with the arguments and waits for it; its exit code, or -1 (a test failure)
// when it could not start or did not end within timeoutMs. A program that does not end because
// it shows a message box fails with the box's caption and text, and is ended. *seconds, when
// given, receives the run's wall time.
int RunProgram(const std::string& program, const std::string& arguments, unsigned timeoutMs = 60000,
               double* seconds = nullptr);

}  // namespace wintest
