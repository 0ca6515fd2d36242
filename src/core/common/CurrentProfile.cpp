#include "core/common/CurrentProfile.h"

#include <QList>

namespace telvaro {
namespace {

QList<const CurrentProfile*>& alive()
{
    static QList<const CurrentProfile*> profiles;
    return profiles;
}

} // namespace

CurrentProfile::CurrentProfile()
{
    alive().append(this);
}

CurrentProfile::~CurrentProfile()
{
    alive().removeOne(this);
}

QString CurrentProfile::latestName()
{
    return alive().isEmpty() ? untitled() : alive().constLast()->name();
}

} // namespace telvaro
