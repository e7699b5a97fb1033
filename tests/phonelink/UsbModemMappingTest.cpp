#include "phonelink/UsbModems.h"

#include <gtest/gtest.h>

using namespace qb;

namespace {

// The values a real RAZR V3 in modem mode shows in sysfs and udev.
UsbModemAttributes razrV3() {
    UsbModemAttributes a;
    a.devNode = "/dev/ttyACM0";
    a.ttySyspath = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/tty/ttyACM0";
    a.usbSysname = "1-2";
    a.idVendor = "22b8";
    a.idProduct = "4902";
    a.interfaceClass = "02";
    a.interfaceSubClass = "02";
    a.product = "Motorola Phone (V3)";
    a.modelFromDatabase = "Triplet GSM Phone (AT)";
    a.busnum = "1";
    a.devnum = "5";
    a.devpath = "2";
    return a;
}

} // namespace

TEST(UsbModemMapping, RazrV3Fields) {
    const UsbModem d = mapUsbModem(razrV3());
    EXPECT_EQ(d.deviceId, deviceIdKey("1-2", "5"));
    EXPECT_EQ(d.devNode, "/dev/ttyACM0");
    EXPECT_EQ(d.productName, "Motorola Phone (V3)");
    EXPECT_EQ(d.vendorId, "22b8");
    EXPECT_EQ(d.productId, "4902");
    EXPECT_EQ(d.sysPath, "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/tty/ttyACM0");
}

TEST(UsbModemMapping, OnlyAcmInterfacesOfMotorolaArePhones) {
    EXPECT_TRUE(isPhoneModem(razrV3()));
    UsbModemAttributes upper = razrV3();
    upper.idVendor = "22B8";
    EXPECT_TRUE(isPhoneModem(upper));
    // Another vendor's modem, even one naming itself like a Motorola phone.
    UsbModemAttributes other = razrV3();
    other.idVendor = "1004";
    other.product = "Motorola Phone (V3)";
    EXPECT_FALSE(isPhoneModem(other));
    // The phone's data interface (class 0a) is no modem.
    UsbModemAttributes data = razrV3();
    data.interfaceClass = "0a";
    data.interfaceSubClass = "00";
    EXPECT_FALSE(isPhoneModem(data));
    EXPECT_FALSE(isPhoneModem(UsbModemAttributes{}));
}

TEST(UsbModemMapping, ProductNameFallsBackToDatabaseThenPortAndHub) {
    UsbModemAttributes a = razrV3();
    a.product.clear();
    EXPECT_EQ(mapUsbModem(a).productName, "Triplet GSM Phone (AT)");
    a.modelFromDatabase.clear();
    a.devpath = "1.4";
    a.busnum = "3";
    EXPECT_EQ(mapUsbModem(a).productName, "Port_#0004.Hub_#0003");
    a.busnum = "x1";
    EXPECT_EQ(mapUsbModem(a).productName, "Port_#0004.Hub_#0000");
}

TEST(UsbModemMapping, KeyChangesWithDevnumAndPort) {
    EXPECT_EQ(deviceIdKey("1-2", "5"), deviceIdKey("1-2", "5"));
    EXPECT_NE(deviceIdKey("1-2", "5"), deviceIdKey("1-2", "6"));
    EXPECT_NE(deviceIdKey("1-2", "5"), deviceIdKey("1-3", "5"));
    EXPECT_NE(deviceIdKey("1-2", "15"), deviceIdKey("1-21", "5"));
}
