#pragma once
// Why a PDU could not be decoded, in the words the read's summary shows next
// to the message's storage and index.
#include "codecs/SmsPdu.h"

#include <QString>

namespace qb {

// "обрывается в поле «данные» (байт 27)"; in English "ends inside the user
// data (octet 27)".
QString pduErrorText(const PduError& error);

} // namespace qb
