#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Shift_JIS (Windows code page 932) text: the one place that encodes, decodes, measures and cuts
// text in the byte form that the files, archive member names and every length limit use.
namespace sjis {

// Maps the characters that other platforms' input methods produce in place of code page 932's
// own (U+301C WAVE DASH to U+FF5E and the like). Applied by encode() and findUnencodable().
QString mapForeignCharacters(const QString& text);

// The first character (as a code point) that code page 932 cannot hold, after the mapping above.
std::optional<char32_t> findUnencodable(const QString& text);

// The user-facing refusal for such a character, naming it and its code point.
QString unencodableMessage(char32_t character);

// Encodes after the mapping. A character that cannot be encoded becomes '?'; callers that must not
// lose text check findUnencodable() first (entry boxes and imports refuse such text).
QByteArray encode(const QString& text);
// A lead byte that ends the bytes decodes to U+FFFD rather than vanishing.
QString decode(const QByteArray& bytes);

bool isLeadByte(unsigned char byte);

// Length of the text in Shift_JIS bytes.
int byteLength(const QString& text);

// The longest prefix of at most maxBytes bytes that does not split a two-byte character (a lead
// byte that ends the bytes is no whole character and is left out too).
QByteArray cutBytes(const QByteArray& bytes, int maxBytes);
QString cutToBytes(const QString& text, int maxBytes);

// Full-width ASCII to half-width, half-width katakana to full-width (with voiced and semi-voiced
// marks), on Shift_JIS bytes; the QString form encodes, converts and decodes, passing characters
// that code page 932 cannot hold through unchanged.
QByteArray normalizeCharWidth(const QByteArray& bytes);
QString NormalizeCharWidth(const QString& text);

} // namespace sjis
