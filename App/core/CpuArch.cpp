#include "CpuArch.h"

#include <QSysInfo>

namespace CpuArchs {

CpuArch fromName(const QString &name)
{
    return name == QLatin1String("arm64") ? CpuArch::Arm64 : CpuArch::X86_64;
}

CpuArch host()
{
    return fromName(QSysInfo::currentCpuArchitecture());
}

} // namespace CpuArchs
