#include "widgets/NamedChild.h"

#include <QHash>
#include <QPointer>

namespace widgets {

namespace {

// Lives as a child of the root it serves, so that it goes with it.
class NamedChildCache : public QObject
{
public:
    static NamedChildCache* of(const QObject* root)
    {
        NamedChildCache*& cache = caches()[root];
        if (!cache)
            cache = new NamedChildCache(const_cast<QObject*>(root));
        return cache;
    }

    ~NamedChildCache() override { caches().remove(m_root); }

    QHash<QPair<QString, const QMetaObject*>, QPointer<QObject>> found;

private:
    explicit NamedChildCache(QObject* root)
        : QObject(root)
        , m_root(root)
    {
    }

    static QHash<const QObject*, NamedChildCache*>& caches()
    {
        static QHash<const QObject*, NamedChildCache*> all; // the widgets live in the GUI thread only
        return all;
    }

    const QObject* m_root;
};

bool liesBelow(const QObject* object, const QObject* root)
{
    for (const QObject* p = object->parent(); p; p = p->parent()) {
        if (p == root)
            return true;
    }
    return false;
}

} // namespace

QObject* detail::findNamedChild(const QObject* root, const QString& name, const QMetaObject& type)
{
    if (!root)
        return nullptr;
    NamedChildCache* cache = NamedChildCache::of(root);
    const auto key = qMakePair(name, &type);
    QObject* known = cache->found.value(key);
    if (known && known->objectName() == name && type.cast(known) && liesBelow(known, root))
        return known;
    QObject* child = qt_qFindChild_helper(root, name, type, Qt::FindChildrenRecursively);
    if (child)
        cache->found.insert(key, child);
    else
        cache->found.remove(key);
    return child;
}

} // namespace widgets
