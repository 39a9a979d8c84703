#include "engine/temp_parameter_file.h"

#include "link/shared_settings.h"
#include "platform/port_names.h"

std::string TempParameterFilePath()
{
    return g_strAppDir + platform::PortFileName(g_strPortName) + "ParaFile.ini";
}
