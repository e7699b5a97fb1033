#include "controllers/PhoneMessages.h"

#include <QCoreApplication>

namespace qb {

namespace {

struct PhoneMessages {
    Q_DECLARE_TR_FUNCTIONS(PhoneMessages)
};

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

} // namespace qb
