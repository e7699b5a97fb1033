#include "controllers/ReadReport.h"

#include "controllers/PhoneMessages.h"

#include <QCoreApplication>

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

ReadNotice readNotice(const ReadReport& report) {
    using End = ReadReport::End;
    const QString read = ReadReportTexts::tr("Телефон считан");
    const QString notRead = ReadReportTexts::tr("Телефон не считан");
    switch (report.end) {
    case End::Read:
        if (report.addedTotal() == 0)
            return {read, ReadReportTexts::tr("Новых сообщений нет: всё, что есть на телефоне, "
                                              "уже в архиве.")};
        return {read, ReadReportTexts::tr("Новых сообщений в архиве: %n (входящих %1, "
                                          "исходящих %2, черновых %3).",
                                          nullptr, report.addedTotal())
                          .arg(received(report.added), sent(report.added), unsent(report.added))};
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
