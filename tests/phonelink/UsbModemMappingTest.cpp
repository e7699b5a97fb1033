#include "phonelink/USBCtrls.h"

#include <gtest/gtest.h>

using namespace qb;

namespace {

// The values a real RAZR V3 in modem mode shows in sysfs and udev.
UsbModemAttributes razrV3()
{
    UsbModemAttributes a;
    a.ttyName = "ttyACM0";
    a.devNode = "/dev/ttyACM0";
    a.usbSysname = "1-2";
    a.usbSyspath = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2";
    a.idVendor = "22b8";
    a.idProduct = "4902";
    a.bcdDevice = "0001";
    a.deviceClass = "02";
    a.deviceSubClass = "00";
    a.deviceProtocol = "00";
    a.interfaceClass = "02";
    a.interfaceSubClass = "02";
    a.interfaceDriver = "cdc_acm";
    a.manufacturer = "Motorola Inc.";
    a.product = "Motorola Phone (V3)";
    a.modelFromDatabase = "Triplet GSM Phone (AT)";
    a.busnum = "1";
    a.devnum = "5";
    a.devpath = "2";
    a.removable = "unknown";
    return a;
}

} // namespace

TEST(UsbModemMapping, RazrV3Fields)
{
    const TUSBDevise d = MapUsbModem(razrV3());
    EXPECT_EQ(d.DevInst, DevInstKey("1-2", "5"));
    EXPECT_EQ(d.DevicePath, "/dev/ttyACM0");
    EXPECT_EQ(d.Capabilities, 0u);
    EXPECT_EQ(d.Class, "Modem");
    EXPECT_EQ(d.ClassGUID, "{4D36E96D-E325-11CE-BFC1-08002BE10318}");
    EXPECT_EQ(d.CompatibleIDs, "USB\\Class_02&SubClass_00&Prot_00");
    EXPECT_EQ(d.DeviceDesc, "Motorola USB Modem");
    EXPECT_EQ(d.Driver, "/sys/bus/usb/drivers/cdc_acm");
    EXPECT_EQ(d.FriendlyName, "Motorola USB Modem (ttyACM0)");
    EXPECT_EQ(d.HardwareID, "USB\\Vid_22b8&Pid_4902&Rev_0001");
    EXPECT_EQ(d.Mfg, "Motorola Inc.");
    EXPECT_EQ(d.Address, "2");
    EXPECT_EQ(d.BusNumber, 1u);
    EXPECT_EQ(d.EnumeratorName, "USB");
    EXPECT_EQ(d.LocationInformation, "Motorola Phone (V3)");
    EXPECT_EQ(d.PhysicalDeviceObjectName, "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2");
    EXPECT_EQ(d.Service, "cdc_acm");
    EXPECT_EQ(d.ConfigFlags, 0u);
    EXPECT_EQ(d.Exclusive, 0u);
    EXPECT_EQ(d.UINumber, 0u);
    EXPECT_TRUE(d.LowerFilters.empty() && d.UpperFilters.empty() && d.BusTypeGUID.empty() &&
                d.Characteristics.empty() && d.DevType.empty() && d.LegacyBusType.empty() &&
                d.Security.empty() && d.DevicePowerData.empty());
}

TEST(UsbModemMapping, DescriptionNeverComesFromTheProductString)
{
    UsbModemAttributes other = razrV3();
    other.idVendor = "1004";
    other.idProduct = "6000";
    other.product = "Motorola USB Modem";
    EXPECT_EQ(MapUsbModem(other).DeviceDesc, "USB Modem (1004:6000)");

    UsbModemAttributes upper = razrV3();
    upper.idVendor = "22B8";
    EXPECT_EQ(MapUsbModem(upper).DeviceDesc, "Motorola USB Modem");
}

TEST(UsbModemMapping, LocationFallsBackToDatabaseThenPortAndHub)
{
    UsbModemAttributes a = razrV3();
    a.product.clear();
    EXPECT_EQ(MapUsbModem(a).LocationInformation, "Triplet GSM Phone (AT)");
    a.modelFromDatabase.clear();
    a.devpath = "1.4";
    a.busnum = "3";
    const TUSBDevise d = MapUsbModem(a);
    EXPECT_EQ(d.LocationInformation, "Port_#0004.Hub_#0003");
    EXPECT_EQ(d.Address, "4");
}

TEST(UsbModemMapping, RemovableAndUnreadableNumbers)
{
    UsbModemAttributes a = razrV3();
    a.removable = "removable";
    a.busnum = "x1";
    const TUSBDevise d = MapUsbModem(a);
    EXPECT_EQ(d.Capabilities, 0x4u);
    EXPECT_EQ(d.BusNumber, 0u);
}

TEST(UsbModemMapping, KeyChangesWithDevnumAndPort)
{
    EXPECT_EQ(DevInstKey("1-2", "5"), DevInstKey("1-2", "5"));
    EXPECT_NE(DevInstKey("1-2", "5"), DevInstKey("1-2", "6"));
    EXPECT_NE(DevInstKey("1-2", "5"), DevInstKey("1-3", "5"));
    EXPECT_NE(DevInstKey("1-2", "15"), DevInstKey("1-21", "5"));
}

TEST(UsbModemMapping, NameFilter)
{
    const std::string filter = ModemDeviceName;
    EXPECT_TRUE(MatchesNameFilter("Motorola USB Modem", filter));
    EXPECT_TRUE(MatchesNameFilter("MOTOROLA usb mOdEm", filter));
    EXPECT_TRUE(MatchesNameFilter("Motorola USB Modem #2", filter));
    EXPECT_TRUE(MatchesNameFilter("My Motorola USB Modem", filter));
    EXPECT_FALSE(MatchesNameFilter("Motorola  USB Modem", filter));
    EXPECT_FALSE(MatchesNameFilter("Motorola USB Modern", filter));
    EXPECT_FALSE(MatchesNameFilter("Nokia USB Modem", filter));
    EXPECT_FALSE(MatchesNameFilter("USB Modem (22b8:4902)", filter));
    EXPECT_FALSE(MatchesNameFilter("USB Modem (1004:6000)", filter));
    EXPECT_FALSE(MatchesNameFilter("", filter));
    EXPECT_TRUE(MatchesNameFilter("anything", ""));
    EXPECT_TRUE(MatchesNameFilter("", ""));
    // Only a-z fold: the Cyrillic letters of a cp1251 text must match exactly.
    EXPECT_TRUE(MatchesNameFilter("\xCC\xEE\xE4\xE5\xEC", "\xCC\xEE\xE4\xE5\xEC"));
    EXPECT_FALSE(MatchesNameFilter("\xEC\xEE\xE4\xE5\xEC", "\xCC\xEE\xE4\xE5\xEC"));
    EXPECT_FALSE(MatchesNameFilter("Motorola USB Modem", "Motorola USB Mod\xC5m"));
}
