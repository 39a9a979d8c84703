#include "engine/temp_parameter_file.h"

#include "link/at_log.h"
#include "link/shared_settings.h"
#include "platform/file_io.h"
#include "platform/port_names.h"

std::string TempParameterFilePath()
{
    return g_strAppDir + platform::PortFileName(g_strPortName) + "ParaFile.ini";
}

std::string PortFilesProblem()
{
    platform::FileResult result = platform::PreparePrivateFolder(g_strAppDir);
    for (const std::string &path : {AtLogPath(), TempParameterFilePath()})
        if (result.ok)
            result = platform::CheckPlainFile(path);
    return result.error;
}
