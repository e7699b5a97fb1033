#include "controllers/ArchiveMessages.h"

#include <QCoreApplication>

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
    addSentence(text,
                QT_TRANSLATE_N_NOOP("ArchiveMessages",
                                    "Пропущено строк без двух разделителей \";\": %n."),
                summary.withoutSeparator);
    addSentence(text, QT_TRANSLATE_N_NOOP("ArchiveMessages", "Пропущено строк без отправителя: %n."),
                summary.withoutSender);
    addSentence(text, QT_TRANSLATE_N_NOOP("ArchiveMessages", "Пропущено строк без текста: %n."),
                summary.withoutText);
    return text;
}

} // namespace qb
