#include "controllers/ReadReport.h"

#include "codecs/LongMessages.h"
#include "controllers/PhoneMessages.h"

#include <QCoreApplication>
#include <QStringList>

namespace qb {
namespace {

struct ReadReportTexts {
    Q_DECLARE_TR_FUNCTIONS(ReadReport)
};

int of(const FolderCounts& counts, FolderKind kind) {
    return counts[static_cast<std::size_t>(kind)];
}

QString received(const FolderCounts& counts) {
    return QString::number(of(counts, FolderKind::Inbox));
}
QString sent(const FolderCounts& counts) {
    return QString::number(of(counts, FolderKind::Outbox));
}
QString unsent(const FolderCounts& counts) {
    return QString::number(of(counts, FolderKind::Draft));
}

} // namespace

QString readCountsText(const ReadReport& report) {
    return ReadReportTexts::tr(
               "Считано с телефона: входящих %1, исходящих %2, черновых %3, контактов %4.")
        .arg(received(report.read), sent(report.read), unsent(report.read),
             QString::number(report.contacts));
}

QString addedCountsText(const ReadReport& report) {
    return ReadReportTexts::tr("Новых в архиве: входящих %1, исходящих %2, черновых %3.")
        .arg(received(report.added), sent(report.added), unsent(report.added));
}

QString leftOutText(const LeftOut& leftOut) {
    QStringList lines;
    if (leftOut.statusReports > 0)
        lines << ReadReportTexts::tr("Отчётов о доставке пропущено: %1 (это не сообщения).")
                     .arg(leftOut.statusReports);
    if (leftOut.incompleteMessages > 0)
        lines << ReadReportTexts::tr("Длинных сообщений без части текста: %1, недостающих "
                                     "частей: %2 (на их месте стоит «%3»).")
                     .arg(leftOut.incompleteMessages)
                     .arg(leftOut.missingParts)
                     .arg(MissingPartMark);
    if (!leftOut.undecodable.isEmpty())
        lines << ReadReportTexts::tr("Не удалось разобрать сообщений: %1 — %2.")
                     .arg(leftOut.undecodable.size())
                     .arg(leftOut.undecodable.join(QStringLiteral("; ")));
    if (!leftOut.unavailable.isEmpty())
        lines << ReadReportTexts::tr("Телефон не дал прочитать: %1.")
                     .arg(leftOut.unavailable.join(QStringLiteral("; ")));
    return lines.join(QLatin1Char('\n'));
}

ReadNotice readNotice(const ReadReport& report) {
    using End = ReadReport::End;
    const QString read = ReadReportTexts::tr("Телефон считан");
    const QString notRead = ReadReportTexts::tr("Телефон не считан");
    switch (report.end) {
    case End::Read: {
        QString text =
            report.addedTotal() == 0
                ? ReadReportTexts::tr("Новых сообщений нет: всё, что есть на телефоне, "
                                      "уже в архиве.")
                : ReadReportTexts::tr("Новых сообщений в архиве: %n (входящих %1, "
                                      "исходящих %2, черновых %3).",
                                      nullptr, report.addedTotal())
                      .arg(received(report.added), sent(report.added), unsent(report.added));
        if (const QString leftOut = leftOutText(report.leftOut); !leftOut.isEmpty())
            text += QLatin1Char('\n') + leftOut;
        return {read, text};
    }
    case End::NothingListed:
        return {read, nothingListedText()};
    case End::Cancelled:
        return {notRead, readCancelledText()};
    case End::Failed:
        break;
    }
    return {notRead, report.failure, true};
}

} // namespace qb
