#pragma once

#include <string>

// The per-port temporary parameter file that a read fills and a write sends:
// the app folder + the port's file name + "ParaFile.ini".
std::string TempParameterFilePath();
