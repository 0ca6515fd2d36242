#include "telephony/LineSession.h"

namespace telvaro {

quint32 sessionLineApp()
{
    return quint32(telephony().lineApp);
}

quint32 sessionApiVersion()
{
    return telephony().lineApiVersion;
}

} // namespace telvaro
