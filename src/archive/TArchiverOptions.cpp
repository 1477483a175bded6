#include "archive/TArchiverOptions.h"

TArchiverOptions::TArchiverOptions(QObject* parent)
    : QObject(parent)
{
}
