#include "controllers/PhoneMessages.h"

#include "core/Cp1251.h"

#include <QCoreApplication>
#include <QLocale>

namespace qb {

namespace {

struct PhoneMessages {
    Q_DECLARE_TR_FUNCTIONS(PhoneMessages)
};

QString seconds(int milliseconds) {
    return QLocale().toString(milliseconds / 1000.0);
}

// A piece of the phone's reply, shown as the phone sent it but never a screen long.
QString quoted(const std::string& cp1251Text) {
    constexpr qsizetype Longest = 60;
    const QString text = cp1251::toUnicode(cp1251Text);
    return text.size() <= Longest ? text : text.left(Longest) + QChar(0x2026);
}

QString mismatchText(const PhoneFailure& failure) {
    switch (failure.mismatch) {
    case ReplyMismatch::BadIndex:
        return PhoneMessages::tr("неверный номер сообщения «%1»").arg(quoted(failure.subject));
    case ReplyMismatch::BadDigits:
        return PhoneMessages::tr("текст сообщения %1 — не цифры UCS2").arg(quoted(failure.subject));
    case ReplyMismatch::RepeatedIndex:
        return PhoneMessages::tr("номер сообщения %1 повторяется").arg(quoted(failure.subject));
    case ReplyMismatch::OtherMessage:
        return PhoneMessages::tr("в ответе заголовок другого сообщения: «%1»")
            .arg(quoted(failure.subject));
    case ReplyMismatch::UnexpectedLine:
    case ReplyMismatch::None:
        break;
    }
    return PhoneMessages::tr("непонятная строка «%1»").arg(quoted(failure.subject));
}

QString whatWentWrong(const PhoneFailure& failure) {
    const QString command =
        QString::fromLatin1(failure.command.data(), qsizetype(failure.command.size()));
    switch (failure.kind) {
    case PhoneFailure::Kind::NoAnswer:
        return PhoneMessages::tr("Телефон не ответил на команду %1 за %2 с.")
            .arg(command, seconds(failure.limitMs));
    case PhoneFailure::Kind::Stopped:
        return PhoneMessages::tr(
                   "Телефон начал отвечать на команду %1 и замолчал дольше чем на %2 с.")
            .arg(command, seconds(failure.limitMs));
    case PhoneFailure::Kind::TooLong:
        return PhoneMessages::tr("Ответ телефона на команду %1 длиннее %2 КБ и не кончается.")
            .arg(command)
            .arg(qulonglong(failure.limitBytes / 1024));
    case PhoneFailure::Kind::Refused:
        return PhoneMessages::tr("Телефон ответил на команду %1 ошибкой %2.")
            .arg(command, quoted(failure.errorLine));
    case PhoneFailure::Kind::UnfitReply:
        break;
    }
    return PhoneMessages::tr("Ответ телефона на команду %1 не подходит к ней: %2.")
        .arg(command, mismatchText(failure));
}

QString rowsKeptText(int notDeleted) {
    return PhoneMessages::tr("Не удалено сообщений: %n; они остались на телефоне и в списке.",
                             nullptr, notDeleted);
}

} // namespace

QString deviceBusyText() {
    return PhoneMessages::tr("Утройство занято!");
}

QString noPermissionText(const std::string& devNode) {
    return PhoneMessages::tr("Нет прав на доступ к телефону (%1).\n"
                             "Добавьте пользователя в группу dialout или установите правило udev, "
                             "которое поставляется с Quillbox, и подключите телефон заново.")
        .arg(QString::fromLocal8Bit(devNode.data(), qsizetype(devNode.size())));
}

QString lostPhoneText(ReadOutcome::Kind kind, const std::string& devNode) {
    using Kind = ReadOutcome::Kind;
    switch (kind) {
    case Kind::PortVanished:
        return PhoneMessages::tr(
            "Телефон отключён во время чтения. Чтение прервано, архив не изменён.");
    case Kind::PortBusy:
        return deviceBusyText();
    case Kind::PortRefused:
        return noPermissionText(devNode);
    case Kind::PhoneStalled:
        return PhoneMessages::tr(
            "Телефон перестал принимать команды. Чтение прервано, архив не изменён.");
    case Kind::Finished:
    case Kind::NothingListed:
    case Kind::PhoneFailed:
    case Kind::Failed:
    case Kind::Cancelled:
        break;
    }
    return {};
}

QString keptOnPhoneText(int notDeleted) {
    return PhoneMessages::tr(
        "Телефон не удалил сообщений: %n. Они остались на телефоне и в списке.", nullptr,
        notDeleted);
}

QString phoneFailureText(const PhoneFailure& failure, PhoneCommand command, int notDeleted) {
    if (command == PhoneCommand::Read)
        return whatWentWrong(failure) + QLatin1Char(' ') +
               PhoneMessages::tr("Чтение прервано, архив не изменён.");
    QString text =
        whatWentWrong(failure) + QLatin1Char(' ') + PhoneMessages::tr("Удаление прервано.");
    if (notDeleted > 0)
        text += QLatin1Char(' ') + rowsKeptText(notDeleted);
    return text;
}

QString refusedOnPhoneText(int notDeleted, const PhoneFailure& refusal) {
    return keptOnPhoneText(notDeleted) + QLatin1Char('\n') + whatWentWrong(refusal);
}

QString deletionLostText(LineLoss loss, int notDeleted, const std::string& devNode) {
    switch (loss) {
    case LineLoss::Busy:
        return deviceBusyText();
    case LineLoss::Refused:
        return noPermissionText(devNode);
    case LineLoss::Stalled:
        return PhoneMessages::tr("Телефон перестал принимать команды во время удаления.") +
               QLatin1Char(' ') + rowsKeptText(notDeleted);
    case LineLoss::None:
    case LineLoss::Vanished:
        break;
    }
    return PhoneMessages::tr("Телефон отключён во время удаления.") + QLatin1Char(' ') +
           rowsKeptText(notDeleted);
}

QString nothingListedText() {
    return PhoneMessages::tr("На телефоне нет сообщений.");
}

QString readCancelledText() {
    return PhoneMessages::tr("Чтение прервано, архив не изменён.");
}

QString deletionCancelledText() {
    return PhoneMessages::tr("Удаление прервано.");
}

} // namespace qb
