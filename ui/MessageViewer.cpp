#include "ui/MessageViewer.h"

#include "search/MatchRanges.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextBlock>
#include <QTextObjectInterface>

namespace qb::ui {

namespace {

constexpr int EmoticonObject = QTextFormat::UserObject + 1;
constexpr int SequenceProperty = QTextFormat::UserProperty + 1;
constexpr int PictureSize = 16;
constexpr int MarginDigits = 4;
const QColor MarginShade(236, 233, 216);

QFont viewerFont() {
    // Liberation Mono has Courier New's metrics where the Windows face is missing.
    QFont font(QStringLiteral("Courier New"));
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(13);
    return font;
}

void drawEyes(QPainter& p, bool wink) {
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(4.5, 4.5, 2, 2.5));
    if (wink)
        p.drawLine(QPointF(9, 5.8), QPointF(12, 5.8));
    else
        p.drawEllipse(QRectF(9.5, 4.5, 2, 2.5));
}

void drawMouth(QPainter& p, QChar kind) {
    p.setBrush(Qt::NoBrush);
    switch (kind.unicode()) {
    case ')':
        p.drawArc(QRectF(4, 5, 8, 6.5), 200 * 16, 140 * 16);
        break;
    case '(':
    case '@':
        p.drawArc(QRectF(4, 10, 8, 5), 30 * 16, 120 * 16);
        break;
    case 'd': {
        QPainterPath grin;
        grin.moveTo(4, 9);
        grin.lineTo(12, 9);
        grin.arcTo(QRectF(4, 5, 8, 8), 0, -180);
        p.setBrush(QColor(120, 20, 20));
        p.drawPath(grin);
        break;
    }
    case 'o':
        p.drawEllipse(QRectF(6.5, 9, 3, 3.5));
        break;
    case 'p':
        p.drawLine(QPointF(5, 10), QPointF(11, 10));
        p.setBrush(QColor(230, 60, 80));
        p.drawChord(QRectF(7, 8, 4, 5), 180 * 16, 180 * 16);
        break;
    case 's': {
        QPainterPath wave;
        wave.moveTo(4.5, 11);
        wave.cubicTo(6, 9, 7.5, 13, 8.5, 11);
        wave.cubicTo(9.5, 9, 10.5, 12, 11.5, 10.5);
        p.drawPath(wave);
        break;
    }
    default: // '|' and '$'
        p.drawLine(QPointF(5, 11), QPointF(11, 11));
        break;
    }
}

// The pictures are drawn once, at first use, so the program needs no image files for them.
QImage drawEmoticon(const QString& sequence) {
    const QChar kind = sequence.at(1).toLower();
    QImage picture(PictureSize, PictureSize, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 60, 0), 1));
    p.setBrush(kind == '@' ? QColor(240, 90, 60) : QColor(255, 214, 40));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    if (kind == '$') {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(240, 110, 110, 180));
        p.drawEllipse(QRectF(2, 8, 3.5, 2.5));
        p.drawEllipse(QRectF(10.5, 8, 3.5, 2.5));
    }
    p.setPen(QPen(Qt::black, 1.1, Qt::SolidLine, Qt::RoundCap));
    if (kind == '@') {
        p.drawLine(QPointF(3.5, 3), QPointF(7, 4.5));
        p.drawLine(QPointF(12.5, 3), QPointF(9, 4.5));
    }
    drawEyes(p, sequence.at(0) == ';');
    drawMouth(p, kind);
    return picture;
}

const QImage& emoticonPicture(const QString& sequence) {
    static QHash<QString, QImage> pictures;
    const QString key = sequence.toLower();
    auto found = pictures.find(key);
    if (found == pictures.end())
        found = pictures.insert(key, drawEmoticon(key));
    return *found;
}

// Lays out and paints the emoticon objects inside the viewer's text.
class EmoticonHandler : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
  public:
    using QObject::QObject;
    QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat&) override {
        return QSizeF(PictureSize, PictureSize);
    }
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                    const QTextFormat& format) override {
        painter->drawImage(rect, emoticonPicture(format.property(SequenceProperty).toString()));
    }
};

} // namespace

// The margin left of the text, with the number of every line.
class LineNumberMargin : public QWidget {
  public:
    explicit LineNumberMargin(MessageViewer* viewer) : QWidget(viewer), m_viewer(viewer) {
        setObjectName(QStringLiteral("LineNumbers"));
    }
    QSize sizeHint() const override { return {m_viewer->marginWidth(), 0}; }

  protected:
    void paintEvent(QPaintEvent* event) override { m_viewer->paintMargin(event); }

  private:
    MessageViewer* m_viewer;
};

MessageViewer::MessageViewer(QWidget* parent)
    : QPlainTextEdit(parent), m_margin(new LineNumberMargin(this)) {
    setFont(viewerFont());
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QPalette colours = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Highlight, QColor(0, 0, 128));
        colours.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    setPalette(colours);
    document()->documentLayout()->registerHandler(EmoticonObject, new EmoticonHandler(this));
    connect(this, &QPlainTextEdit::updateRequest, this, &MessageViewer::scrollMargin);
    connect(this, &QPlainTextEdit::blockCountChanged, m_margin, qOverload<>(&QWidget::update));
    applyFontMetrics();
}

const QStringList& MessageViewer::emoticons() {
    static const QStringList sequences = {
        QStringLiteral(":$"), QStringLiteral(":("), QStringLiteral(":)"), QStringLiteral(":@"),
        QStringLiteral(":|"), QStringLiteral(":d"), QStringLiteral(":o"), QStringLiteral(":p"),
        QStringLiteral(":s"), QStringLiteral(";)")};
    return sequences;
}

bool MessageViewer::isEmoticon(QStringView sequence) {
    return sequence.size() == 2 && emoticons().contains(sequence.toString(), Qt::CaseInsensitive);
}

void MessageViewer::setMessageText(const QString& text) {
    clear();
    setExtraSelections({});
    m_places.assign(static_cast<std::size_t>(text.size()) + 1, 0);
    QTextCursor cursor(document());
    qsizetype plainFrom = 0;
    const auto flushPlain = [&](qsizetype to) {
        if (to > plainFrom)
            cursor.insertText(text.mid(plainFrom, to - plainFrom), QTextCharFormat());
    };
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        const QStringView pair = QStringView(text).mid(i, 2);
        if (!isEmoticon(pair))
            continue;
        flushPlain(i);
        QTextCharFormat picture;
        picture.setObjectType(EmoticonObject);
        picture.setProperty(SequenceProperty, pair.toString());
        cursor.insertText(QString(QChar::ObjectReplacementCharacter), picture);
        plainFrom = ++i + 1;
    }
    flushPlain(text.size());
    // The places, by the same reading of the text as the pictures above.
    int place = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        m_places[std::size_t(i)] = place;
        if (i + 1 < text.size() && isEmoticon(QStringView(text).mid(i, 2))) {
            m_places[std::size_t(++i)] = place;
        }
        ++place;
    }
    m_places[std::size_t(text.size())] = place;
    // Typing after a picture must not continue in the picture's format.
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.setCharFormat(QTextCharFormat());
    setTextCursor(end);
}

void MessageViewer::highlight(const std::vector<TextRange>& ranges) {
    QList<QTextEdit::ExtraSelection> marks;
    const int last = static_cast<int>(m_places.size()) - 1;
    for (const TextRange& range : ranges) {
        if (range.start < 0 || range.start + range.length > last)
            continue;
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(document());
        mark.cursor.setPosition(m_places[std::size_t(range.start)]);
        mark.cursor.setPosition(m_places[std::size_t(range.start + range.length)],
                                QTextCursor::KeepAnchor);
        mark.format.setBackground(QColor(255, 230, 90));
        mark.format.setForeground(Qt::black);
        marks.append(mark);
    }
    setExtraSelections(marks);
}

QString MessageViewer::messageText() const {
    QStringList lines;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        QString line;
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextFragment piece = fragment.fragment();
            const QTextCharFormat format = piece.charFormat();
            const QString sequence = format.objectType() == EmoticonObject
                                         ? format.property(SequenceProperty).toString()
                                         : QString();
            for (const QChar c : piece.text())
                line += c == QChar::ObjectReplacementCharacter && !sequence.isEmpty() ? sequence
                                                                                      : QString(c);
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

QColor MessageViewer::marginInk() const {
    return m_marginInk.isValid() ? m_marginInk : QApplication::palette().color(QPalette::Text);
}

void MessageViewer::setMarginInk(const QColor& ink) {
    m_marginInk = ink;
    m_margin->update();
}

int MessageViewer::marginWidth() const {
    return 6 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * MarginDigits;
}

void MessageViewer::applyFontMetrics() {
    setTabStopDistance(4 * fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    setViewportMargins(marginWidth(), 0, 0, 0);
    resizeEvent(nullptr);
}

void MessageViewer::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        applyFontMetrics();
    else if (event->type() == QEvent::PaletteChange)
        m_margin->update();
}

void MessageViewer::resizeEvent(QResizeEvent* event) {
    if (event)
        QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    m_margin->setGeometry(area.left(), area.top(), marginWidth(), area.height());
}

void MessageViewer::scrollMargin(const QRect& rect, int dy) {
    if (dy != 0)
        m_margin->scroll(0, dy);
    else
        m_margin->update(0, rect.y(), m_margin->width(), rect.height());
}

void MessageViewer::paintMargin(QPaintEvent* event) {
    QPainter painter(m_margin);
    QLinearGradient shade(0, 0, m_margin->width(), 0);
    shade.setColorAt(0, MarginShade);
    shade.setColorAt(1, palette().color(QPalette::Base));
    painter.fillRect(event->rect(), shade);
    painter.setPen(marginInk());
    painter.setFont(font());

    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int lineHeight = fontMetrics().height();
    while (block.isValid() && top <= event->rect().bottom()) {
        const int bottom = top + qRound(blockBoundingRect(block).height());
        if (block.isVisible() && bottom >= event->rect().top())
            painter.drawText(0, top, m_margin->width() - 3, lineHeight, Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        block = block.next();
        top = bottom;
    }
}

} // namespace qb::ui

#include "MessageViewer.moc"
