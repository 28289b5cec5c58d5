// The small helpers every window uses on its fields and captions: reading a
// field's text and number, writing a text or caption without needless
// change, the tooltip of a cut text, and the windows' font.
#pragma once

#include <QFont>
#include <QString>

#include <string>

class QLabel;
class QLineEdit;

// Sets an edit's text only when it differs: an equal text changes nothing,
// not even the cursor, and fires no change handler.
void SetEditText(QLineEdit* edit, const QString& text);

// Sets a label's caption; an auto-sized label (all but the y(x0) result) then
// fits its text, keeping its left edge, or its right edge when right-aligned.
void SetCaption(QLabel* label, const QString& caption);

// A field whose text is wider than the field shows the whole text in its
// tooltip; one that fits has none.
void TipForCutText(QLineEdit* edit);

// The font of the window and its controls.
QFont WindowFont();

// The window's field text as the engine takes it (UTF-8).
std::string FieldText(const QLineEdit* field);
// The number a field holds (strict conversion, ConversionError otherwise).
double FieldNumber(const QLineEdit* field);
