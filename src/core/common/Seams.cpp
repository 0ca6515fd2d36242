#include "core/common/Seams.h"

namespace telvaro {

Seams& seams()
{
    static Seams instance;
    return instance;
}

} // namespace telvaro
