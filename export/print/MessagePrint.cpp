#include "export/print/MessagePrint.h"

#include "core/FileStore.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <memory>

namespace qb {
namespace {

struct MessagePrint {
    Q_DECLARE_TR_FUNCTIONS(MessagePrint)
};

constexpr qreal MillimetresPerInch = 25.4;
constexpr qreal ShiftedShare = 0.15; // how far sent messages stand to the right, of the width

// Faces with Cyrillic: Liberation is installed with the program, DejaVu is
// on nearly every Linux desktop.
QFont printFont(qreal points, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QString directionText(MessageDirection direction) {
    switch (direction) {
    case MessageDirection::Received:
        return MessagePrint::tr("Получено");
    case MessageDirection::Sent:
        return MessagePrint::tr("Отправлено");
    case MessageDirection::Unsent:
        return MessagePrint::tr("Не отправлено");
    }
    return {};
}

QString timeText(const PrintedMessage& message) {
    if (!message.time)
        return MessagePrint::tr("время неизвестно");
    const QString shown =
        message.time->toString(MessagePrint::tr("dd.MM.yyyy HH:mm:ss", "date and time format"));
    return message.timeEstimated ? MessagePrint::tr("около %1").arg(shown) : shown;
}

QString headingOf(const PrintedMessage& message) {
    QStringList parts{directionText(message.direction)};
    if (!message.correspondent.isEmpty())
        parts << message.correspondent;
    parts << timeText(message);
    return parts.join(QStringLiteral("  ·  "));
}

// Stored texts break lines with CR LF, a lone CR or LF; a text layout breaks
// only at the Unicode line separator.
QString bodyOf(const PrintedMessage& message) {
    QString text = message.text;
    text.replace(QLatin1String("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(u'\n', QChar::LineSeparator);
    return text;
}

std::unique_ptr<QTextLayout> laidOut(const QString& text, const QFont& font, qreal width,
                                     QPaintDevice& device) {
    auto layout = std::make_unique<QTextLayout>(text, font, &device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->beginLayout();
    qreal y = 0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout->endLayout();
    return layout;
}

// The part of one message on one page: its heading (on the page where it
// starts) and a run of its body's lines.
struct Slice {
    std::size_t message = 0;
    bool heading = false;
    int firstLine = 0;
    int endLine = 0;
    qreal top = 0; // below the page's header
    qreal height = 0;
};

class PageLayout {
  public:
    PageLayout(QPaintDevice& device, const PrintedDocument& document)
        : m_device(device), m_document(document), m_headingFont(printFont(8.5, true)),
          m_bodyFont(printFont(10.5, false)), m_headerFont(printFont(9, false)) {
        const qreal millimetre = device.logicalDpiY() / MillimetresPerInch;
        m_gap = 4 * millimetre;
        m_bar = 1.5 * millimetre;
        m_headerHeight = QFontMetricsF(m_headerFont, &device).height() + 5 * millimetre;
        m_width = device.width();
        m_blockWidth = m_width * (1 - ShiftedShare) - 2 * m_bar;
    }

    // Where every message goes; false when stopped.
    bool paginate(Cancellation* cancel) {
        const qreal available = m_device.height() - m_headerHeight;
        m_pages.assign(1, {});
        qreal y = 0;
        for (std::size_t k = 0; k < m_document.messages.size(); ++k) {
            if (stopsHere(cancel))
                return false;
            const auto [heading, body] = layoutsOf(k);
            const qreal headingHeight = heading->boundingRect().height();
            const qreal firstLine = body->lineCount() > 0 ? body->lineAt(0).height() : 0;
            if (y > 0 && y + headingHeight + firstLine > available)
                y = newPage();
            Slice slice{k, true, 0, 0, y, headingHeight};
            y += headingHeight;
            for (int i = 0; i < body->lineCount(); ++i) {
                const qreal height = body->lineAt(i).height();
                if (y + height > available && y > 0) {
                    m_pages.back().push_back(slice);
                    y = newPage();
                    slice = Slice{k, false, i, i, 0, 0};
                }
                slice.endLine = i + 1;
                slice.height += height;
                y += height;
            }
            m_pages.back().push_back(slice);
            y += m_gap;
        }
        return true;
    }

    int pageCount() const { return int(m_pages.size()); }

    void paintPage(QPainter& painter, int page) {
        paintHeader(painter, page);
        for (const Slice& slice : m_pages[std::size_t(page)]) {
            const PrintedMessage& message = m_document.messages[slice.message];
            const auto [heading, body] = layoutsOf(slice.message);
            const qreal x = message.direction == MessageDirection::Received
                                ? 2 * m_bar
                                : m_width * ShiftedShare + 2 * m_bar;
            qreal top = m_headerHeight + slice.top;
            painter.fillRect(QRectF(x - 2 * m_bar, top, m_bar / 2, slice.height),
                             message.direction == MessageDirection::Received
                                 ? QColor(0x70, 0x70, 0x70)
                                 : QColor(0x2a, 0x6a, 0xb0));
            if (slice.heading) {
                painter.setPen(QColor(0x40, 0x40, 0x40));
                heading->draw(&painter, QPointF(x, top));
                top += heading->boundingRect().height();
            }
            painter.setPen(Qt::black);
            if (slice.endLine > slice.firstLine) {
                const qreal shift = top - body->lineAt(slice.firstLine).y();
                for (int i = slice.firstLine; i < slice.endLine; ++i)
                    body->lineAt(i).draw(&painter, QPointF(x, shift));
            }
        }
    }

  private:
    std::pair<std::unique_ptr<QTextLayout>, std::unique_ptr<QTextLayout>> layoutsOf(std::size_t k) {
        const PrintedMessage& message = m_document.messages[k];
        return {laidOut(headingOf(message), m_headingFont, m_blockWidth, m_device),
                laidOut(bodyOf(message), m_bodyFont, m_blockWidth, m_device)};
    }

    qreal newPage() {
        m_pages.emplace_back();
        return 0;
    }

    void paintHeader(QPainter& painter, int page) {
        painter.setFont(m_headerFont);
        painter.setPen(Qt::black);
        const QFontMetricsF metrics(m_headerFont, &m_device);
        const QString number = MessagePrint::tr("Страница %1 из %2").arg(page + 1).arg(pageCount());
        const qreal numberWidth = metrics.horizontalAdvance(number);
        const qreal titleWidth = m_width - numberWidth - m_gap;
        const qreal baseline = metrics.ascent();
        painter.drawText(QPointF(0, baseline),
                         metrics.elidedText(m_document.title, Qt::ElideRight, titleWidth));
        painter.drawText(QPointF(m_width - numberWidth, baseline), number);
        const qreal rule = metrics.height() + m_bar;
        painter.fillRect(QRectF(0, rule, m_width, m_bar / 4), Qt::black);
    }

    QPaintDevice& m_device;
    const PrintedDocument& m_document;
    QFont m_headingFont;
    QFont m_bodyFont;
    QFont m_headerFont;
    qreal m_gap = 0;
    qreal m_bar = 0;
    qreal m_headerHeight = 0;
    qreal m_width = 0;
    qreal m_blockWidth = 0;
    std::vector<std::vector<Slice>> m_pages;
};

} // namespace

bool printMessages(QPagedPaintDevice& device, const PrintedDocument& document,
                   Cancellation* cancel) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // Laid out twice, to count the pages first and to paint, so that only one
    // message's layout is held at a time whatever the document's length.
    PageLayout layout(device, document);
    if (!layout.paginate(cancel))
        return false;
    for (int page = 0; page < layout.pageCount(); ++page) {
        if (stopsHere(cancel) || (page > 0 && !device.newPage()))
            return false;
        layout.paintPage(painter, page);
    }
    return painter.end();
}

MaybeFailure writeMessagesPdf(const QString& path, const PrintedDocument& document,
                              QPageSize::PageSizeId pageSize, Cancellation* cancel) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageSize(QPageSize(pageSize));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setTitle(document.title);
        writer.setCreator(QStringLiteral("Quillbox"));
        if (!printMessages(writer, document, cancel)) {
            if (cancel && cancel->stopped())
                return std::nullopt;
            return Failure::cannotCreate(path, MessagePrint::tr("Не удалось построить PDF."));
        }
    }
    return writeWholeFile(path, std::string_view(pdf.data().constData(), std::size_t(pdf.size())),
                          NewFileAccess::Usual);
}

} // namespace qb
