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

// Another maker's phone, whose modem cdc_acm serves as well (values made up).
UsbModemAttributes nokia6230i() {
    UsbModemAttributes a = razrV3();
    a.ttySyspath = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.0/tty/ttyACM0";
    a.usbSysname = "1-4";
    a.idVendor = "0421";
    a.idProduct = "0428";
    a.product = "Nokia 6230i";
    a.modelFromDatabase.clear();
    a.devnum = "9";
    a.devpath = "4";
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
    EXPECT_EQ(d.dialogue, PhoneDialogue::Motorola);
}

TEST(UsbModemMapping, AnotherMakersPhoneKeepsTheSameRulesAndSpeaksTheStandardDialogue) {
    const UsbModem d = mapUsbModem(nokia6230i());
    EXPECT_EQ(d.productName, "Nokia 6230i");
    EXPECT_EQ(d.vendorId, "0421");
    EXPECT_EQ(d.productId, "0428");
    EXPECT_EQ(d.deviceId, deviceIdKey("1-4", "9"));
    EXPECT_EQ(d.dialogue, PhoneDialogue::Standard);
    UsbModemAttributes unnamed = nokia6230i();
    unnamed.product.clear();
    EXPECT_EQ(mapUsbModem(unnamed).productName, "Port_#0004.Hub_#0001");
}

TEST(UsbModemMapping, TheVendorChoosesTheDialogue) {
    EXPECT_EQ(dialogueForVendor("22b8"), PhoneDialogue::Motorola);
    EXPECT_EQ(dialogueForVendor("22B8"), PhoneDialogue::Motorola);
    for (const char* vendor : {"0421", "0fce", "04e8", "11f5", "1004", "", "22b80"})
        EXPECT_EQ(dialogueForVendor(vendor), PhoneDialogue::Standard) << vendor;
    // Naming itself like a Motorola phone does not make it one.
    UsbModemAttributes lookalike = nokia6230i();
    lookalike.product = "Motorola Phone (V3)";
    EXPECT_EQ(mapUsbModem(lookalike).dialogue, PhoneDialogue::Standard);
}

TEST(UsbModemMapping, EveryVendorsAcmInterfaceIsAPhone) {
    EXPECT_TRUE(isPhoneModem(razrV3()));
    UsbModemAttributes upper = razrV3();
    upper.idVendor = "22B8";
    EXPECT_TRUE(isPhoneModem(upper));
    EXPECT_TRUE(isPhoneModem(nokia6230i()));
    // A serial adapter's vendor-specific interface is no phone.
    UsbModemAttributes adapter = nokia6230i();
    adapter.interfaceClass = "ff";
    adapter.interfaceSubClass = "00";
    EXPECT_FALSE(isPhoneModem(adapter));
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
