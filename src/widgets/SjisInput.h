#pragma once

#include <QString>
#include <QValidator>

#include <functional>

namespace widgets {

// True, after telling the user which character, when `text` holds a character that code page 932
// cannot hold: such text is refused where it is typed or pasted.
bool refuseUnencodable(const QString& text);

// A pasted text made fit for a one-line box: its lines joined by one blank (line breaks at the end
// dropped), tabs as blanks, no other control character. `joined` tells whether lines were joined,
// which the user is then told (tellPasteChanged), so that no text vanishes without a word.
QString joinedToOneLine(const QString& text, bool* joined);

// True, after telling the user which character, when `text` holds a character that `accepted`
// refuses: a paste is refused where the box's key filter would refuse typing it.
bool refuseCharacters(const QString& text, const std::function<bool(QChar)>& accepted);

// Tells the user that what did not fit was cut (the limit's message).
void tellCut();

// Tells the user, in one box, how a paste was changed: its lines joined (`joined`), its end cut at
// the limit (`cut`). Nothing when neither.
void tellPasteChanged(bool joined, bool cut);
inline const QString kLinesJoinedMessage = QStringLiteral("改行を含む文字列のため、行を空白でつないで貼り付けました。");

// Accepts text that code page 932 can hold and, with a byte limit, no longer than the limit in
// Shift_JIS bytes: typing past a field's width is refused as the fixed-width boxes do.
class SjisValidator : public QValidator
{
    Q_OBJECT

public:
    explicit SjisValidator(QObject* parent = nullptr) : QValidator(parent) {}
    void setMaxBytes(int maxBytes) { m_maxBytes = maxBytes; }
    int maxBytes() const { return m_maxBytes; }
    State validate(QString& input, int& pos) const override;

private:
    int m_maxBytes = 0; // 0: no limit
};

} // namespace widgets
