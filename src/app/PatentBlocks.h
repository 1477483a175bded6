#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QAbstractButton;
class QWidget;

namespace store {
class DataModule;
class Table;
}

namespace app {

// The patent blocks (tabs 特許情報１ … ５), the utility model and the "その他" target box of the
// entry pages: the radio buttons record their codes, and the detail boxes are enabled only while
// the answers make them meaningful.
class PatentBlocks : public QObject
{
    Q_OBJECT

public:
    // Finds the controls below `root` by their names and connects them. `markChange` marks a
    // changed box as any entry box does; `markModified` enables the save command; `mode` is the main
    // window's mode (0 new, 1 edit, -1 the list, where the rules leave the tables alone).
    PatentBlocks(QWidget* root, store::DataModule& dm, std::function<void(QWidget*)> markChange, std::function<void()> markModified,
                 std::function<int()> mode, QObject* parent = nullptr);

    // The enabling rule of a block (1 … 5), run when its number memo changes.
    void patentNumberChanged(int block);
    // The enabling rule of the utility model, run when a status button becomes checked.
    void utilityModelStateChosen(QAbstractButton* button);
    // The stored codes shown as a registration is opened.
    void ShowStoredCodes();
    // The enabling rules of the five blocks and of the targets box, for the values as they stand.
    void ShowBlocks();
    // "その他" of the targets enables its text box.
    void otherAimToggled();

private:
    template <typename T = QWidget>
    T* control(const QString& name) const;
    store::Table* table(const QString& name) const;
    bool mainRowHasNumber() const;
    // Stores a chosen code (edit state first) and enables the save command; a choice that does not
    // change the code records nothing.
    void record(store::Table* table, const QString& field, const QString& code);
    void setCode(store::Table* table, const QString& field, const QString& code);
    void showPair(const QString& field, const QString& suffix, const QString& code);
    void clearPair(const QString& field, const QString& suffix);
    void onButtonChosen(QAbstractButton* button);
    void showTargetOther();

    QWidget* m_root;
    store::DataModule& m_dm;
    std::function<void(QWidget*)> m_markChange;
    std::function<void()> m_markModified;
    std::function<int()> m_mode;
};

} // namespace app
