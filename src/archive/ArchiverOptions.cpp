#include "archive/ArchiverOptions.h"

ArchiverOptions::ArchiverOptions(QObject* parent)
    : QObject(parent)
{
}
