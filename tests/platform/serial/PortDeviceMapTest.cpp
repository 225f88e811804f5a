#include "tests/platform/serial/CommRecorder.h"
#include "tests/support/TemporaryRegistry.h"
#include "tools/portsim/PeerServer.h"

#include "platform/serial/CommControl.h"
#include "platform/serial/PortDeviceMap.h"

#include <gtest/gtest.h>

using namespace brantock::platform;
using brantock::testsupport::ScratchFolder;
using brantock::testsupport::TemporaryRegistry;

namespace {

TEST(PortDeviceMap, DefaultsAreTheUsualSerialDevicesInOrder) {
    const std::vector<std::pair<int, const char*>> cases{{1, "/dev/ttyS0"},
                                                         {4, "/dev/ttyS3"},
                                                         {5, "/dev/ttyUSB0"},
                                                         {12, "/dev/ttyUSB7"},
                                                         {13, "/dev/ttyACM0"},
                                                         {16, "/dev/ttyACM3"},
                                                         {0, ""},
                                                         {17, ""},
                                                         {-1, ""}};
    for (const auto& [port, device] : cases)
        EXPECT_EQ(PortDeviceMap::defaultDevice(port), QString::fromLatin1(device)) << port;
}

TEST(PortDeviceMap, SettingsNameTheDeviceUserBeforeMachine) {
    TemporaryRegistry temp;
    temp.writeHive(HKEY_CURRENT_USER, "Windows Registry Editor Version 5.00\n\n"
                                      "[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock\\Ports]\n"
                                      "\"Com3\"=\"/dev/serial/by-id/usb-door-if00\"\n"
                                      "\"Com4\"=\"\"\n");
    temp.writeHive(HKEY_LOCAL_MACHINE, "Windows Registry Editor Version 5.00\n\n"
                                       "[HKEY_LOCAL_MACHINE\\Software\\Halvern\\Brantock\\Ports]\n"
                                       "\"Com3\"=\"/dev/ttyS9\"\n"
                                       "\"Com4\"=\"sim:/run/door.sock\"\n");
    EXPECT_EQ(PortDeviceMap::device(3), QStringLiteral("/dev/serial/by-id/usb-door-if00"));
    EXPECT_EQ(PortDeviceMap::device(4), QStringLiteral("sim:/run/door.sock"));
    EXPECT_EQ(PortDeviceMap::device(5), QStringLiteral("/dev/ttyUSB0"));
}

TEST(PortDeviceMap, ControlOpensThePortTheSettingsName) {
    TemporaryRegistry temp;
    ScratchFolder folder;
    brantock::portsim::PeerServer peer(folder.file("door.sock").toStdString());
    temp.writeHive(HKEY_CURRENT_USER, "Windows Registry Editor Version 5.00\n\n"
                                      "[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock\\Ports]\n"
                                      "\"Com7\"=\"sim:" +
                                          folder.file("door.sock").toUtf8() + "\"\n");
    CommControl control;
    control.SetCommPort(7);
    control.SetPortOpen(true);
    EXPECT_TRUE(control.PortOpen());
    EXPECT_TRUE(peer.waitClient(std::chrono::seconds(5)));
}

} // namespace
