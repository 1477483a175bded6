#pragma once

#include <QObject>
#include <QString>

namespace widgets {

namespace detail {
QObject* findNamedChild(const QObject* root, const QString& name, const QMetaObject& type);
}

// The child of `root` that root->findChild<T*>(name) finds, remembered for the next look-up: the
// main window reads a few hundred controls by name at every save and check, and each findChild
// walks every widget of the window. A remembered control is used while it still exists, has the
// name and lies below root; otherwise it is searched for again.
template <typename T>
T* namedChild(const QObject* root, const QString& name)
{
    using Plain = std::remove_cv_t<T>;
    return static_cast<T*>(qobject_cast<Plain*>(detail::findNamedChild(root, name, Plain::staticMetaObject)));
}

} // namespace widgets
