#include "app/FormulaMarks.h"

#include "app/Fields.h"
#include "model/FormulaMessages.h"

#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

TFormulaMarks::TFormulaMarks(QLineEdit* edit, bool relations)
    : QWidget(edit), relations_(relations), edit_(edit) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setObjectName(QStringLiteral("FormulaMarks"));
    setGeometry(edit->rect());
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textChanged, this, [this] { Refresh(); });
    // The text scrolls with the cursor: the marks follow.
    connect(edit, &QLineEdit::cursorPositionChanged, this, [this] { update(); });
    show();
}

const TFormulaMarks* TFormulaMarks::Of(const QLineEdit* edit) {
    return edit->findChild<const TFormulaMarks*>(QStringLiteral("FormulaMarks"),
                                                 Qt::FindDirectChildrenOnly);
}

void TFormulaMarks::SetActive(bool active) {
    if (active == active_) return;
    active_ = active;
    Refresh();
}

void TFormulaMarks::Refresh() {
    const std::string text = edit_->text().toStdString();
    found_ = active_ ? Diagnose(text, relations_) : std::vector<TDiagnosis>{};
    TipForCutText(edit_);
    update();
}

QString TFormulaMarks::Explanation() const {
    return DiagnosisExplanation(edit_->text().toStdString(), found_);
}

int TFormulaMarks::XOf(int pos) const {
    // The field scrolls its text; where the cursor stands, the field says,
    // and every other place is measured from there.
    const QString text = edit_->text();
    const QFontMetrics metrics = edit_->fontMetrics();
    const int cursor = edit_->cursorPosition();
    const QRect cursorRect = edit_->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const int origin = cursorRect.center().x() - metrics.horizontalAdvance(text.left(cursor));
    const int chars = static_cast<int>(
        QString::fromStdString(text.toStdString().substr(0, static_cast<size_t>(pos))).size());
    return origin + metrics.horizontalAdvance(text.left(chars));
}

std::vector<QRect> TFormulaMarks::MarkRects() const {
    std::vector<QRect> rects;
    const QFontMetrics metrics = edit_->fontMetrics();
    const QRect cursorRect = edit_->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const int baseline = cursorRect.top() + metrics.ascent();
    for (const TDiagnosis& d : found_) {
        int left = XOf(d.Pos);
        int right = XOf(d.Pos + d.Len);
        // A place between characters (or an empty one) is marked as wide as a letter.
        if (right - left < 4) {
            left -= 2;
            right = left + std::max(4, metrics.horizontalAdvance(QLatin1Char('x')));
        }
        rects.emplace_back(left, baseline + 1, right - left, 3);
    }
    return rects;
}

void TFormulaMarks::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) Refresh();
    QWidget::changeEvent(event);
}

void TFormulaMarks::paintEvent(QPaintEvent*) {
    if (found_.empty()) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(220, 0, 0), 1));
    p.setClipRect(edit_->contentsRect().adjusted(2, 0, -2, 0));
    for (const QRect& r : MarkRects()) {
        // A wave of two pixels up and down, every four pixels.
        QPainterPath wave;
        const qreal y = r.top() + 1.5;
        wave.moveTo(r.left(), y);
        bool up = true;
        for (int x = r.left() + 2; x <= r.right() + 2; x += 2, up = !up)
            wave.lineTo(x, y + (up ? -1.5 : 1.5));
        p.drawPath(wave);
    }
}

bool TFormulaMarks::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::Resize) setGeometry(edit_->rect());
    return QWidget::eventFilter(watched, event);
}
