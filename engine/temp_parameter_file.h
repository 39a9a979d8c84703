#pragma once

#include <string>

// The per-port temporary parameter file that a read fills and a write sends:
// the app folder + the port's file name + "ParaFile.ini".
std::string TempParameterFilePath();

// Whether the per-port files (the AT log and the temporary parameter file,
// which hold the passwords sent) may be written: their folder is made 0700
// when missing and must be the user's alone, and no link or other odd file
// may stand under their names. "" when they may, else why not.
std::string PortFilesProblem();
