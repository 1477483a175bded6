#include "comparison/CostTypeDialog.h"

#include "comparison/ComparisonControls.h"
#include "comparison/CostType.h"
#include "store/DataModule.h"
#include "util/NumberText.h"
#include "util/UserInteraction.h"
#include "widgets/EntryBoxRules.h"
#include "widgets/FieldLink.h"
#include "widgets/RightAlignedEdit.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <cmath>
#include <functional>

namespace comparison {

namespace {

const QString kDetail = QStringLiteral("NT_TBL_DETAIL");
const QColor kNewLine(200, 30, 30);
const QColor kOldLine(30, 60, 200);

struct Family
{
    QChar letter;
    QString caption;
    QString text;
};

const QList<Family>& families()
{
    static const QList<Family> list = {
        {'A', QStringLiteral("損益分岐点型：Ａ"),
         QStringLiteral("プラント設置などの初期投資に費用がかかるが、施工量が増せば、単位あたりの単価が安くなるパターン\n＊残土処理技術など")},
        {'B', QStringLiteral("平行型：Ｂ"), QStringLiteral("導入の時点から単価差があり、施工量にかかわらず、その差に変化がないパターン\n＊施工機械の違いによる技術など")},
        {'C', QStringLiteral("発散型：Ｃ"), QStringLiteral("導入時の単価差の有無に関わらず、施工量に比例して単価差が増すパターン\n＊材料や製品を含む技術など")},
        {'D', QStringLiteral("サイクルコスト型：Ｄ"),
         QStringLiteral("基本的にはＡタイプと同様であるが初期投資コストと経年との関係でサイクルコストとしての特性を表すパターン\n＊維持管理が関係する技術など")},
    };
    return list;
}

// The cost curves of a type over the unit square (x: quantity or years, y: cost): the new
// technology's and the conventional technology's.
std::pair<std::function<double(double)>, std::function<double(double)>> curvesOf(const QString& code)
{
    using F = std::function<double(double)>;
    const int type = code.toInt();
    switch (type) {
    case 1: return {F([](double x) { return 0.2 + 0.75 * std::exp(-4 * x); }), F([](double) { return 0.5; })};
    case 2: return {F([](double x) { return 0.25 + 0.7 * std::exp(-3 * x); }), F([](double x) { return 0.6 - 0.15 * x; })};
    case 3: return {F([](double x) { return 0.15 + 0.5 * x; }), F([](double x) { return 0.4 + 0.5 * x; })};
    case 4: return {F([](double x) { return 0.4 + 0.5 * x; }), F([](double x) { return 0.15 + 0.5 * x; })};
    case 5: return {F([](double x) { return 0.2 + 0.3 * x; }), F([](double x) { return 0.2 + 0.7 * x; })};
    case 6: return {F([](double x) { return 0.2 + 0.7 * x; }), F([](double x) { return 0.2 + 0.3 * x; })};
    case 7: return {F([](double x) { return 0.45 + 0.25 * x; }), F([](double x) { return 0.15 + 0.7 * x; })};
    default:
        // Repairs every few years lift the conventional technology's cost in steps.
        return {F([](double x) { return 0.5 + 0.15 * x; }),
                F([](double x) { return 0.15 + 0.1 * x + 0.22 * std::floor(x / 0.3); })};
    }
}

// A small diagram of a type's cost curves, drawn for the window.
QPixmap costDiagram(const QString& code)
{
    const QSize size(210, 130);
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF plot(42, 10, size.width() - 57, size.height() - 34);
    p.setPen(QPen(Qt::black, 1.2));
    p.drawLine(plot.bottomLeft(), plot.topLeft());
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    QFont font = p.font();
    font.setPixelSize(10);
    p.setFont(font);
    const bool cycle = isCycleCostType(code);
    p.drawText(QRectF(0, plot.top(), plot.left() - 3, 30), Qt::AlignRight | Qt::AlignTop, QStringLiteral("コスト"));
    p.drawText(QRectF(plot.left(), plot.bottom() + 3, plot.width(), 16), Qt::AlignRight,
               cycle ? QStringLiteral("経過年数") : QStringLiteral("施工量"));
    const auto [newCurve, oldCurve] = curvesOf(code);
    const auto draw = [&](const std::function<double(double)>& curve, const QPen& pen) {
        QPainterPath path;
        for (int i = 0; i <= 100; ++i) {
            const double x = i / 100.0;
            const QPointF point(plot.left() + x * plot.width(), plot.bottom() - std::clamp(curve(x), 0.0, 1.0) * plot.height());
            i == 0 ? path.moveTo(point) : path.lineTo(point);
        }
        p.setPen(pen);
        p.drawPath(path);
    };
    draw(oldCurve, QPen(kOldLine, 2, Qt::DashLine));
    draw(newCurve, QPen(kNewLine, 2));
    return pixmap;
}

// The explanatory picture: which line is which.
QPixmap legendPicture()
{
    QPixmap pixmap(260, 40);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font = p.font();
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(QPen(kNewLine, 2));
    p.drawLine(10, 12, 50, 12);
    p.setPen(QPen(kOldLine, 2, Qt::DashLine));
    p.drawLine(10, 30, 50, 30);
    p.setPen(Qt::black);
    p.drawText(58, 16, QStringLiteral("新技術"));
    p.drawText(58, 34, QStringLiteral("従来技術"));
    return pixmap;
}

} // namespace

CostTypeDialog::CostTypeDialog(store::DataModule& dm, QWidget* parent)
    : ComparisonDialog(parent)
    , m_dm(dm)
{
    setObjectName(QStringLiteral("FrmCostType"));
    setWindowTitle(QStringLiteral("新技術のコストタイプ"));
    build();
}

store::Table* CostTypeDialog::detail() const
{
    return m_dm.table(kDetail);
}

void CostTypeDialog::build()
{
    resize(760, 600);
    auto* outer = new QVBoxLayout(this);
    auto* header = new QHBoxLayout;
    header->addWidget(new QLabel(QStringLiteral("技術名称"), this));
    auto* title = new QLabel(this);
    title->setObjectName(QStringLiteral("TECH_TITLE3"));
    title->setFrameShape(QFrame::StyledPanel);
    header->addWidget(title, 1);
    auto* clear = new QPushButton(QStringLiteral("選択クリア"), this);
    clear->setObjectName(QStringLiteral("btnClear"));
    auto* closeButton = new QPushButton(QStringLiteral("選択終了"), this);
    closeButton->setObjectName(QStringLiteral("btnClose"));
    for (QPushButton* b : {clear, closeButton}) {
        b->setAutoDefault(false);
        header->addWidget(b);
    }
    outer->addLayout(header);
    auto* instruction = new QLabel(QStringLiteral("該当するコストタイプを選択してください。選択クリアボタンで選択(入力した)内容をクリアできます。"), this);
    instruction->setWordWrap(true);
    outer->addWidget(instruction);
    connect(clear, &QPushButton::clicked, this, &CostTypeDialog::clearChoice);
    connect(closeButton, &QPushButton::clicked, this, &CostTypeDialog::closeStoringChoice);

    m_scroll = scrollingPanel(QStringLiteral("Panel1"));
    QWidget* panel = m_scroll->widget();
    auto* layout = static_cast<QVBoxLayout*>(panel->layout());
    outer->addWidget(m_scroll, 1);

    auto* legend = new QLabel(panel);
    legend->setObjectName(QStringLiteral("ImgEx"));
    legend->setPixmap(legendPicture());
    layout->addWidget(legend);

    m_radios = new QButtonGroup(this);
    for (const Family& family : families())
        layout->addWidget(buildFamily(family.letter, panel));

    // The cycle costs of the cycle-cost types, always editable here.
    auto* cycle = new QGroupBox(QStringLiteral("サイクルコスト　(円/㎡)"), panel);
    cycle->setObjectName(controls::kCycleCostFrame);
    auto* costs = new QGridLayout(cycle);
    costs->addWidget(new QLabel(QStringLiteral("サイクルコスト型を選択する場合は以下の表を入力してください。"), cycle), 0, 0, 1, 5);
    const QStringList years = {QStringLiteral("1年"), QStringLiteral("3年"), QStringLiteral("5年"), QStringLiteral("10年")};
    for (int c = 0; c < 4; ++c)
        costs->addWidget(new QLabel(years.at(c), cycle), 1, c + 1, Qt::AlignCenter);
    store::DataSource* source = m_dm.dataSource(kDetail);
    for (int r = 0; r < 2; ++r) {
        costs->addWidget(new QLabel(r == 0 ? QStringLiteral("新技術") : QStringLiteral("従来技術"), cycle), r + 2, 0);
        for (int c = 0; c < 4; ++c) {
            auto* box = new widgets::RightDBEdit(source, cycleCostFields().at(r * 4 + c), cycle);
            box->setAccessibleName((r == 0 ? QStringLiteral("新技術") : QStringLiteral("従来技術")) + years.at(c));
            box->setFixedWidth(110);
            filterNumberKeys(box);
            // Only what can be a number is taken as it is typed: digits and one decimal point.
            box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9０-９]*([.．][0-9０-９]*)?")), box));
            onLeave(box, [box] { convertWidth(box); });
            costs->addWidget(box, r + 2, c + 1);
        }
    }
    costs->setColumnStretch(5, 1);
    layout->addWidget(cycle);
    layout->addStretch();
    enterMovesFocus();
}

QWidget* CostTypeDialog::buildFamily(QChar letter, QWidget* parent)
{
    const Family& family = *std::find_if(families().begin(), families().end(), [letter](const Family& f) { return f.letter == letter; });
    auto* group = new QGroupBox(family.caption, parent);
    auto* layout = new QGridLayout(group);
    int column = 0;
    for (const CostTypeInfo& type : costTypes()) {
        if (type.family != letter)
            continue;
        auto* frame = new QFrame(group);
        frame->setObjectName(type.panel);
        frame->setAutoFillBackground(true);
        frame->setFrameShape(QFrame::StyledPanel);
        auto* inner = new QVBoxLayout(frame);
        auto* radio = new QRadioButton(type.caption, frame);
        radio->setObjectName(type.radio);
        m_radios->addButton(radio);
        auto* diagram = new QLabel(frame);
        diagram->setPixmap(costDiagram(type.code));
        inner->addWidget(radio);
        inner->addWidget(diagram);
        layout->addWidget(frame, 0, column++);
        m_panels.insert(type.code, frame);
        // A click on the diagram chooses the type as the radio button does.
        frame->installEventFilter(this);
        diagram->installEventFilter(this);
        connect(radio, &QRadioButton::clicked, this, [this, code = type.code] { typeClicked(code); });
    }
    auto* text = new QPlainTextEdit(family.text, group);
    text->setReadOnly(true);
    // A description to read (and copy by mouse): Tab passes it by on the way to the boxes.
    text->setFocusPolicy(Qt::ClickFocus);
    text->setFixedHeight(60);
    layout->addWidget(text, 1, 0, 1, column);
    return group;
}

bool CostTypeDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (QFrame* frame : std::as_const(m_panels)) {
            if (watched == frame || watched->parent() == frame) {
                frame->findChild<QRadioButton*>()->click();
                return true;
            }
        }
    }
    return ComparisonDialog::eventFilter(watched, event);
}

void CostTypeDialog::paintPanel(const QString& code, bool selected)
{
    QFrame* frame = m_panels.value(code);
    if (!frame)
        return;
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, this->palette().color(selected ? QPalette::Highlight : QPalette::Button));
    frame->setPalette(palette);
    frame->setProperty("selected", selected);
}

void CostTypeDialog::SelectTypeClear()
{
    for (const CostTypeInfo& type : costTypes())
        paintPanel(type.code, false);
}

void CostTypeDialog::SetCostTypeCheck(const QString& code)
{
    SelectTypeClear();
    for (const CostTypeInfo& type : costTypes()) {
        if (type.code == code) {
            findChild<QRadioButton*>(type.radio)->setChecked(true);
            paintPanel(code, true);
            return;
        }
    }
    m_radios->setExclusive(false);
    for (QAbstractButton* radio : m_radios->buttons())
        radio->setChecked(false);
    m_radios->setExclusive(true);
}

QString CostTypeDialog::selectedCode() const
{
    for (const CostTypeInfo& type : costTypes()) {
        if (findChild<QRadioButton*>(type.radio)->isChecked())
            return type.code;
    }
    return {};
}

void CostTypeDialog::open(const QString& techTitle)
{
    findChild<QLabel*>(QStringLiteral("TECH_TITLE3"))->setText(techTitle);
    m_scroll->verticalScrollBar()->setValue(0);
    SetCostTypeCheck(detail()->field(QStringLiteral("COST_TYPE")).asString());
    showModal();
}

void CostTypeDialog::typeClicked(const QString& code)
{
    SelectTypeClear();
    m_dm.CdsChangeCmpMainMode(detail());
    paintPanel(code, true);
}

void CostTypeDialog::clearCycleCosts()
{
    store::Table* row = detail();
    for (QLineEdit* box : findChild<QGroupBox*>(controls::kCycleCostFrame)->findChildren<QLineEdit*>())
        box->clear();
    m_dm.CdsChangeCmpMainMode(row);
    for (const QString& field : cycleCostFields())
        row->field(field).clear();
}

void CostTypeDialog::clearChoice()
{
    if (UserInteraction::current().message(UserInteraction::Icon::Question, kProgramTitle,
                                           QStringLiteral("選択(入力)した内容をクリアしてもよろしいですか？"),
                                           UserInteraction::Buttons(UserInteraction::Yes) | UserInteraction::No)
        != UserInteraction::Yes)
        return;
    SetCostTypeCheck(QString());
    clearCycleCosts();
}

QList<QLineEdit*> CostTypeDialog::cycleCostBoxes() const
{
    QList<QLineEdit*> boxes;
    for (const QString& field : cycleCostFields())
        boxes << findChild<QLineEdit*>(field);
    return boxes;
}

bool CostTypeDialog::cycleCostsAreNumbers(const QString& code)
{
    for (QLineEdit* box : cycleCostBoxes()) {
        convertWidth(box);
        double value = 0;
        if (box->text().isEmpty() || numbertext::parse(box->text(), &value))
            continue;
        // The costs of any other type are cleared on closing, whatever they hold.
        if (!isCycleCostType(code)) {
            box->clear();
            continue;
        }
        UserInteraction::current().inform(kProgramTitle, QStringLiteral("数値を入力してください。"));
        widgets::focusForCorrection(box);
        return false;
    }
    return true;
}

void CostTypeDialog::done(int result)
{
    // A cycle cost that is no number keeps the window open, with the message and the focus on it.
    if (!cycleCostsAreNumbers(selectedCode()))
        return;
    store::Table* row = detail();
    widgets::FieldLink::flush(row);
    const QString code = selectedCode();
    if (row->isEditing())
        row->field(QStringLiteral("COST_TYPE")).setString(code);
    if (!isCycleCostType(code))
        clearCycleCosts();
    emit costTypeClosed(code);
    ComparisonDialog::done(result);
}

} // namespace comparison
