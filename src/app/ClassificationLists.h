#pragma once

#include <QHash>
#include <QObject>

#include <functional>

class QComboBox;
class QEvent;
class QWidget;

namespace store {
class Table;
}
namespace widgets {
class DBEdit;
}

namespace app {

// The twenty classification list boxes (Level1 … Level4_5) and their hidden code boxes
// (LEVEL1_COMBO … LEVEL4_COMBO5): a list is filled when the user opens it, from the codes below the
// level above; a choice writes the code of the chosen title and empties the levels below it.
class ClassificationLists : public QObject
{
    Q_OBJECT

public:
    using TableOf = std::function<store::Table*(const QString& name)>;

    // Finds the controls below `root` by their names and connects them.
    ClassificationLists(QWidget* root, TableOf tableOf, QObject* parent = nullptr);

    // A level's list box opened: filled with the titles of its level under the code chosen above.
    void listOpened(int level, int slot);
    // A level's list box chosen: its code stored and the lists of the levels below it cleared.
    void levelChosen(int level, int slot);
    // The list boxes show the titles of the stored codes (with the level tables' filters off when
    // a registration is opened, so that every stored code is found).
    void SetGrpTitle();
    void switchOffFilters();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* list(int level, int slot) const;
    widgets::DBEdit* codeBox(int level, int slot) const;
    store::Table* levelTable(int level) const;
    void fill(QComboBox* list, const QStringList& titles, bool withEmptyEntry);
    void SetGrpCD(int level, int slot);
    void ClearCmb(int level, int slot);
    void SetGrpData(int level, int slot);
    void writeCode(int level, int slot, const QString& code);

    QWidget* m_root;
    TableOf m_tableOf;
    QHash<QObject*, std::pair<int, int>> m_places; // list box → (level, slot)
};

} // namespace app
