#include "windows/results/BuildDiagrams.h"

namespace zarnel {

void BuildDiagrams()
{
}

} // namespace zarnel
