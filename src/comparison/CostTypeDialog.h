#pragma once

#include "comparison/ComparisonDialog.h"

#include <QMap>

class QAbstractButton;
class QButtonGroup;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollArea;

namespace store {
class DataModule;
class Table;
}

namespace comparison {

// The window "新技術のコストタイプ": the eight cost types with their diagrams, and the cycle costs of
// the two cycle-cost types. The choice is written to COST_TYPE of NT_TBL_DETAIL when it closes.
class CostTypeDialog : public ComparisonDialog
{
    Q_OBJECT

public:
    CostTypeDialog(store::DataModule& dm, QWidget* parent);

    // Opens the window for the technology named `techTitle`, showing the stored type.
    void open(const QString& techTitle);
    void SetCostTypeCheck(const QString& code);
    void SelectTypeClear();
    // The code of the selected radio button, empty when none is.
    QString selectedCode() const;

    void typeClicked(const QString& code); // one of the cost-type buttons
    void clearChoice();
    void closeStoringChoice() { close(); }

    // The closing (closeStoringChoice, the window frame, Escape): the choice is stored.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // The window closed with `code` chosen (empty: none).
    void costTypeClosed(const QString& code);

private:
    void build();
    QWidget* buildFamily(QChar family, QWidget* parent);
    void paintPanel(const QString& code, bool selected);
    void clearCycleCosts();
    QList<QLineEdit*> cycleCostBoxes() const;
    // False, after telling the user, when a cycle cost of the cycle-cost type `code` is no
    // number; the boxes of another type lose what is no number.
    bool cycleCostsAreNumbers(const QString& code);
    store::Table* detail() const;

    store::DataModule& m_dm;
    QButtonGroup* m_radios = nullptr;
    QMap<QString, QFrame*> m_panels; // by type code
    QScrollArea* m_scroll = nullptr;
};

} // namespace comparison
