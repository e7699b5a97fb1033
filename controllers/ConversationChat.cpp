#include "controllers/ConversationChat.h"

#include <QCoreApplication>
#include <QDateTime>

namespace qb {
namespace {

struct ConversationChat {
    Q_DECLARE_TR_FUNCTIONS(ConversationChat)
};

QString directionText(MessageDirection direction) {
    switch (direction) {
    case MessageDirection::Received:
        return ConversationChat::tr("Получено");
    case MessageDirection::Sent:
        return ConversationChat::tr("Отправлено");
    case MessageDirection::Unsent:
        break;
    }
    return ConversationChat::tr("Не отправлено");
}

// Line breaks kept, everything else shown as typed.
QString bodyHtml(const QString& text) {
    return text.toHtmlEscaped()
        .replace(QLatin1String("\r\n"), QLatin1String("<br>"))
        .replace(QLatin1Char('\n'), QLatin1String("<br>"))
        .replace(QLatin1Char('\r'), QLatin1String("<br>"));
}

} // namespace

QString timeText(const PlacedTime& time, const QLocale& locale) {
    if (!time.time)
        return ConversationChat::tr("время неизвестно");
    const QString written = locale.toString(QDateTime::fromMSecsSinceEpoch(*time.time),
                                            QStringLiteral("dd.MM.yyyy hh:mm"));
    return time.estimated ? ConversationChat::tr("около %1").arg(written) : written;
}

QString chatHtml(const GatheredConversation& conversation, const QLocale& locale) {
    if (conversation.entries.empty())
        return {};
    QString html = QStringLiteral("<html><body>");
    html += QStringLiteral("<p><b>%1</b></p>")
                .arg(ConversationChat::tr("Переписка с %1")
                         .arg(conversation.correspondent)
                         .toHtmlEscaped());
    html += QStringLiteral("<table width=\"100%\" cellspacing=\"4\" cellpadding=\"6\">");
    for (const ConversationEntry& entry : conversation.entries) {
        const bool received = entry.direction == MessageDirection::Received;
        const QString bubble =
            QStringLiteral("<td width=\"70%\" bgcolor=\"%1\"><small>%2, %3</small><br>%4</td>")
                .arg(received ? QStringLiteral("#eeeeee") : QStringLiteral("#d6e8fa"),
                     directionText(entry.direction), timeText(entry.time, locale).toHtmlEscaped(),
                     bodyHtml(entry.text));
        const QString gap = QStringLiteral("<td width=\"30%\"></td>");
        html += QStringLiteral("<tr>") + (received ? bubble + gap : gap + bubble) +
                QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table></body></html>");
    return html;
}

} // namespace qb
