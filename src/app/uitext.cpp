#include "app/uitext.h"

#include <QCoreApplication>
#include <QString>

namespace orvo::app {

QString uiText(const char* utf8)
{
    return QCoreApplication::translate(kTranslationContext, utf8);
}

} // namespace orvo::app
