#include "controllers/ArchiveMessages.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstring>

namespace qb {
namespace {

struct ArchiveMessages {
    Q_DECLARE_TR_FUNCTIONS(ArchiveMessages)
};

void addSentence(QString& text, const char* sentence, int count) {
    if (count > 0)
        text += QLatin1Char(' ') + ArchiveMessages::tr(sentence, nullptr, count);
}

} // namespace

QString importSummaryText(const ImportSummary& summary) {
    QString text = ArchiveMessages::tr("Импортировано сообщений: %n.", nullptr, summary.imported);
    addSentence(
        text,
        QT_TRANSLATE_N_NOOP("ArchiveMessages", "Пропущено строк без двух разделителей \";\": %n."),
        summary.withoutSeparator);
    addSentence(text,
                QT_TRANSLATE_N_NOOP("ArchiveMessages", "Пропущено строк без отправителя: %n."),
                summary.withoutSender);
    addSentence(text, QT_TRANSLATE_N_NOOP("ArchiveMessages", "Пропущено строк без текста: %n."),
                summary.withoutText);
    return text;
}

QString wipeReportText(const WipeReport& report) {
    if (report.files.empty())
        return ArchiveMessages::tr("В архиве нет файлов сообщений.");
    QStringList trashed, removed, left;
    for (const WipedFile& file : report.files) {
        switch (file.fate) {
        case WipedFile::Fate::Trashed:
            trashed << file.name;
            break;
        case WipedFile::Fate::Removed:
            removed << file.name;
            break;
        case WipedFile::Fate::Left:
            left << ArchiveMessages::tr("Не удалён %1: %2.")
                        .arg(file.name, QString::fromLocal8Bit(std::strerror(file.error)));
            break;
        }
    }
    QStringList sentences;
    if (!trashed.isEmpty())
        sentences << ArchiveMessages::tr("Перемещены в корзину: %1.").arg(trashed.join(", "));
    if (!removed.isEmpty())
        sentences << ArchiveMessages::tr("Корзины нет, удалены: %1.").arg(removed.join(", "));
    return (sentences + left).join(QLatin1Char(' '));
}

} // namespace qb
