#include <gtest/gtest.h>

#include "platform/os_version.h"
#include "sim/simulated_windows.h"
#include "startup/startup.h"
#include "unit/test_machine.h"

namespace kelvra {
namespace {

struct System {
    uint32_t platform, major, minor, build;
    const char* csd;
    uint16_t spMajor, spMinor, suite;
    uint8_t productType;
    uint32_t product;  // what GetProductInfo answers (from 6.0 on)
    uint16_t arch;     // native processor architecture
    int metric;        // the one edition metric that is set; 0 for none
};

struct NamingCase {
    System system;
    const char* name;
    const char* edition;
    const char* text;
    const char* numbers;
};

constexpr uint32_t W = kPlatformWindows;
constexpr uint32_t N = kPlatformNt;
constexpr uint16_t X86 = kProcessorArchitectureIntel;
constexpr uint16_t X64 = kProcessorArchitectureAmd64;
constexpr uint16_t IA64 = kProcessorArchitectureIa64;

// On 95/98/ME the high word of the build repeats the version.
constexpr uint32_t Build9x(uint32_t major, uint32_t minor, uint32_t build) {
    return major << 24 | minor << 16 | build;
}

const NamingCase kNamingCases[] = {
    // 95: the release code picks the edition; OSR2 only for builds 1111..1211.
    {{W, 4, 0, Build9x(4, 0, 950), " A ", 0, 0, 0, 0, 0, X86, 0},
     "95",
     "OSR1",
     "Windows 95 OSR1 [A]",
     "PID:1 MAV:4 MIV:0 BLD:950 CSD:A OSA:x86"},
    {{W, 4, 0, Build9x(4, 0, 1111), " B ", 0, 0, 0, 0, 0, X86, 0},
     "95",
     "OSR2",
     "Windows 95 OSR2 [B]",
     "PID:1 MAV:4 MIV:0 BLD:1111 CSD:B OSA:x86"},
    {{W, 4, 0, Build9x(4, 0, 1211), "b", 0, 0, 0, 0, 0, X86, 0},
     "95",
     "OSR2",
     "Windows 95 OSR2 [b]",
     "PID:1 MAV:4 MIV:0 BLD:1211 CSD:b OSA:x86"},
    {{W, 4, 0, Build9x(4, 0, 1212), " B ", 0, 0, 0, 0, 0, X86, 0},
     "95",
     "OSR2.1",
     "Windows 95 OSR2.1 [B]",
     "PID:1 MAV:4 MIV:0 BLD:1212 CSD:B OSA:x86"},
    {{W, 4, 0, Build9x(4, 0, 1110), " B ", 0, 0, 0, 0, 0, X86, 0},
     "95",
     "OSR2.1",
     "Windows 95 OSR2.1 [B]",
     "PID:1 MAV:4 MIV:0 BLD:1110 CSD:B OSA:x86"},
    {{W, 4, 0, Build9x(4, 3, 1214), " C ", 0, 0, 0, 0, 0, X86, 0},
     "95",
     "OSR2.5",
     "Windows 95 OSR2.5 [C]",
     "PID:1 MAV:4 MIV:0 BLD:1214 CSD:C OSA:x86"},
    // 98 SE and ME; the architecture is never asked for on this platform.
    {{W, 4, 10, Build9x(4, 10, 2222), " A ", 0, 0, 0, 0, 0, X64, 0},
     "98",
     "Second Edition",
     "Windows 98 Second Edition [A]",
     "PID:1 MAV:4 MIV:10 BLD:2222 CSD:A OSA:x86"},
    {{W, 4, 90, Build9x(4, 90, 3000), " ", 0, 0, 0, 0, 0, X86, 0},
     "ME",
     "",
     "Windows ME ",
     "PID:1 MAV:4 MIV:90 BLD:3000 CSD: OSA:x86"},
    // NT 4 and 2000 count as x86 whatever the processor says.
    {{N, 4, 0, 1381, "Service Pack 6", 6, 0, 0, 1, 0, X64, 0},
     "NT 4.0",
     "Workstation",
     "Windows NT 4.0 Workstation [Service Pack 6]",
     "PID:2 MAV:4 MIV:0 BLD:1381 CSD:Service Pack 6 PRTY:1 RSVD:0 SPMA:6 SPMI:0 MASK:0 PRIN:0 "
     "OSA:x86"},
    {{N, 4, 0, 1381, "Service Pack 6", 6, 0, 0x0002, 3, 0, X86, 0},
     "NT 4.0",
     "Server Enterprise",
     "Windows NT 4.0 Server Enterprise [Service Pack 6]",
     "PID:2 MAV:4 MIV:0 BLD:1381 CSD:Service Pack 6 PRTY:3 RSVD:0 SPMA:6 SPMI:0 MASK:2 PRIN:0 "
     "OSA:x86"},
    {{N, 4, 0, 1381, "", 0, 0, 0, 2, 0, X86, 0},
     "NT 4.0",
     "Server Standard",
     "Windows NT 4.0 Server Standard",
     "PID:2 MAV:4 MIV:0 BLD:1381 CSD: PRTY:2 RSVD:0 SPMA:0 SPMI:0 MASK:0 PRIN:0 OSA:x86"},
    {{N, 5, 0, 2195, "Service Pack 4", 4, 0, 0, 1, 0, IA64, 0},
     "2000",
     "Professional",
     "Windows 2000 Professional [Service Pack 4]",
     "PID:2 MAV:5 MIV:0 BLD:2195 CSD:Service Pack 4 PRTY:1 RSVD:0 SPMA:4 SPMI:0 MASK:0 PRIN:0 "
     "OSA:x86"},
    {{N, 5, 0, 2195, "Service Pack 4", 4, 0, 0x0010, 3, 0, X86, 0},
     "2000",
     "Server",
     "Windows 2000 Server [Service Pack 4]",
     "PID:2 MAV:5 MIV:0 BLD:2195 CSD:Service Pack 4 PRTY:3 RSVD:0 SPMA:4 SPMI:0 MASK:16 PRIN:0 "
     "OSA:x86"},
    {{N, 5, 0, 2195, "", 0, 0, 0x0002, 2, 0, X86, 0},
     "2000",
     "Advanced Server",
     "Windows 2000 Advanced Server",
     "PID:2 MAV:5 MIV:0 BLD:2195 CSD: PRTY:2 RSVD:0 SPMA:0 SPMI:0 MASK:2 PRIN:0 OSA:x86"},
    {{N, 5, 0, 2195, "", 0, 0, 0x0082, 3, 0, X86, 0},
     "2000",
     "Datacenter Server",
     "Windows 2000 Datacenter Server",
     "PID:2 MAV:5 MIV:0 BLD:2195 CSD: PRTY:3 RSVD:0 SPMA:0 SPMI:0 MASK:130 PRIN:0 OSA:x86"},
    // XP: embedded, then the metrics, then the personal bit.
    {{N, 5, 1, 2600, "Service Pack 3", 3, 0, 0x0300, 1, 0, X86, 0},
     "XP",
     "Home",
     "Windows XP Home [Service Pack 3]",
     "PID:2 MAV:5 MIV:1 BLD:2600 CSD:Service Pack 3 PRTY:1 RSVD:0 SPMA:3 SPMI:0 MASK:768 PRIN:0 "
     "OSA:x86"},
    {{N, 5, 1, 2600, "Service Pack 3", 3, 0, 0x0300, 1, 0, X86, kSmMediaCenter},
     "XP",
     "Media Center",
     "Windows XP Media Center [Service Pack 3]",
     "PID:2 MAV:5 MIV:1 BLD:2600 CSD:Service Pack 3 PRTY:1 RSVD:0 SPMA:3 SPMI:0 MASK:768 PRIN:0 "
     "OSA:x86"},
    {{N, 5, 1, 2600, "Service Pack 2", 2, 0, 0x0040, 1, 0, X86, kSmMediaCenter},
     "XP",
     "Embedded",
     "Windows XP Embedded [Service Pack 2]",
     "PID:2 MAV:5 MIV:1 BLD:2600 CSD:Service Pack 2 PRTY:1 RSVD:0 SPMA:2 SPMI:0 MASK:64 PRIN:0 "
     "OSA:x86"},
    {{N, 5, 1, 2600, "Service Pack 2", 2, 0, 0x0100, 1, 0, X86, kSmTabletPc},
     "XP",
     "Tablet PC",
     "Windows XP Tablet PC [Service Pack 2]",
     "PID:2 MAV:5 MIV:1 BLD:2600 CSD:Service Pack 2 PRTY:1 RSVD:0 SPMA:2 SPMI:0 MASK:256 PRIN:0 "
     "OSA:x86"},
    {{N, 5, 1, 2600, "Service Pack 2", 2, 0, 0x0200, 1, 0, X86, kSmStarter},
     "XP",
     "Starter",
     "Windows XP Starter [Service Pack 2]",
     "PID:2 MAV:5 MIV:1 BLD:2600 CSD:Service Pack 2 PRTY:1 RSVD:0 SPMA:2 SPMI:0 MASK:512 PRIN:0 "
     "OSA:x86"},
    {{N, 5, 1, 2600, "Service Pack 1a", 1, 1, 0x0100, 1, 0, X86, 0},
     "XP",
     "Professional",
     "Windows XP Professional [Service Pack 1a]",
     "PID:2 MAV:5 MIV:1 BLD:2600 CSD:Service Pack 1a PRTY:1 RSVD:0 SPMA:1 SPMI:1 MASK:256 PRIN:0 "
     "OSA:x86"},
    // Server 2003: suite bits in order, R2 before them, and XP x64.
    {{N, 5, 2, 3790, "Service Pack 2", 2, 0, 0x0110, 3, 0, X86, 0},
     "Server 2003",
     "Standard",
     "Windows Server 2003 Standard [Service Pack 2]",
     "PID:2 MAV:5 MIV:2 BLD:3790 CSD:Service Pack 2 PRTY:3 RSVD:0 SPMA:2 SPMI:0 MASK:272 PRIN:0 "
     "OSA:x86"},
    {{N, 5, 2, 3790, "", 0, 0, 0x0400, 3, 0, X86, 0},
     "Server 2003",
     "Web Edition",
     "Windows Server 2003 Web Edition",
     "PID:2 MAV:5 MIV:2 BLD:3790 CSD: PRTY:3 RSVD:0 SPMA:0 SPMI:0 MASK:1024 PRIN:0 OSA:x86"},
    {{N, 5, 2, 3790, "", 0, 0, 0x0023, 2, 0, X86, 0},
     "Server 2003",
     "Small Business",
     "Windows Server 2003 Small Business",
     "PID:2 MAV:5 MIV:2 BLD:3790 CSD: PRTY:2 RSVD:0 SPMA:0 SPMI:0 MASK:35 PRIN:0 OSA:x86"},
    {{N, 5, 2, 3790, "", 0, 0, 0x0082, 3, 0, X86, 0},
     "Server 2003",
     "Enterprise",
     "Windows Server 2003 Enterprise",
     "PID:2 MAV:5 MIV:2 BLD:3790 CSD: PRTY:3 RSVD:0 SPMA:0 SPMI:0 MASK:130 PRIN:0 OSA:x86"},
    {{N, 5, 2, 3790, "Service Pack 2", 2, 0, 0x8000, 3, 0, X86, 0},
     "Home Server",
     "Standard",
     "Windows Home Server Standard [Service Pack 2]",
     "PID:2 MAV:5 MIV:2 BLD:3790 CSD:Service Pack 2 PRTY:3 RSVD:0 SPMA:2 SPMI:0 MASK:32768 "
     "PRIN:0 OSA:x86"},
    {{N, 5, 2, 3790, "Service Pack 2", 2, 0, 0x0002, 3, 0, X64, kSmServerR2},
     "Server 2003",
     "R2",
     "Windows Server 2003 R2 (x64) [Service Pack 2]",
     "PID:2 MAV:5 MIV:2 BLD:3790 CSD:Service Pack 2 PRTY:3 RSVD:0 SPMA:2 SPMI:0 MASK:2 PRIN:0 "
     "OSA:x64"},
    {{N, 5, 2, 3790, "Service Pack 2", 2, 0, 0x0002, 3, 0, IA64, 0},
     "Server 2003",
     "Enterprise",
     "Windows Server 2003 Enterprise (Itanium) [Service Pack 2]",
     "PID:2 MAV:5 MIV:2 BLD:3790 CSD:Service Pack 2 PRTY:3 RSVD:0 SPMA:2 SPMI:0 MASK:2 PRIN:0 "
     "OSA:Itanium"},
    {{N, 5, 2, 3790, "Service Pack 2", 2, 0, 0x0100, 1, 0, X64, 0},
     "XP Professional",
     "",
     "Windows XP Professional  (x64) [Service Pack 2]",
     "PID:2 MAV:5 MIV:2 BLD:3790 CSD:Service Pack 2 PRTY:1 RSVD:0 SPMA:2 SPMI:0 MASK:256 PRIN:0 "
     "OSA:x64"},
    {{N, 5, 2, 3790, "", 0, 0, 0, 1, 0, X86, 0},
     "Server 2003",
     "<unknown>",
     "Windows Server 2003 <unknown>",
     "PID:2 MAV:5 MIV:2 BLD:3790 CSD: PRTY:1 RSVD:0 SPMA:0 SPMI:0 MASK:0 PRIN:0 OSA:x86"},
    // Vista and Server 2008 by product number.
    {{N, 6, 0, 6002, "Service Pack 2", 2, 0, 0x0100, 1, 6, X86, 0},
     "Vista",
     "Business",
     "Windows Vista Business [Service Pack 2]",
     "PID:2 MAV:6 MIV:0 BLD:6002 CSD:Service Pack 2 PRTY:1 RSVD:0 SPMA:2 SPMI:0 MASK:256 PRIN:6 "
     "OSA:x86"},
    {{N, 6, 0, 6002, "", 0, 0, 0x0100, 1, 48, X64, 0},
     "Vista",
     "<unknown>",
     "Windows Vista <unknown> (x64)",
     "PID:2 MAV:6 MIV:0 BLD:6002 CSD: PRTY:1 RSVD:0 SPMA:0 SPMI:0 MASK:256 PRIN:48 OSA:x64"},
    {{N, 6, 0, 6001, "Service Pack 1", 1, 0, 0x0001, 2, 25, X64, 0},
     "Small Business Server 2008",
     "Premium",
     "Windows Small Business Server 2008 Premium (x64) [Service Pack 1]",
     "PID:2 MAV:6 MIV:0 BLD:6001 CSD:Service Pack 1 PRTY:2 RSVD:0 SPMA:1 SPMI:0 MASK:1 PRIN:25 "
     "OSA:x64"},
    {{N, 6, 0, 6001, "", 0, 0, 0x0001, 3, 9, X64, 0},
     "Small Business Server 2008",
     "Standard",
     "Windows Small Business Server 2008 Standard (x64)",
     "PID:2 MAV:6 MIV:0 BLD:6001 CSD: PRTY:3 RSVD:0 SPMA:0 SPMI:0 MASK:1 PRIN:9 OSA:x64"},
    {{N, 6, 0, 6002, "Service Pack 2", 2, 0, 0x0400, 3, 17, X86, 0},
     "Web Server 2008",
     "Standard",
     "Windows Web Server 2008 Standard [Service Pack 2]",
     "PID:2 MAV:6 MIV:0 BLD:6002 CSD:Service Pack 2 PRTY:3 RSVD:0 SPMA:2 SPMI:0 MASK:1024 "
     "PRIN:17 OSA:x86"},
    {{N, 6, 0, 6002, "", 0, 0, 0x0002, 3, 14, X64, 0},
     "Server 2008",
     "Enterprise",
     "Windows Server 2008 Enterprise (x64)",
     "PID:2 MAV:6 MIV:0 BLD:6002 CSD: PRTY:3 RSVD:0 SPMA:0 SPMI:0 MASK:2 PRIN:14 OSA:x64"},
    {{N, 6, 0, 6002, "", 0, 0, 0, 3, 0xABCDABCDu, X86, 0},
     "Server 2008",
     "<unlicensed>",
     "Windows Server 2008 <unlicensed>",
     "PID:2 MAV:6 MIV:0 BLD:6002 CSD: PRTY:3 RSVD:0 SPMA:0 SPMI:0 MASK:0 PRIN:2882382797 "
     "OSA:x86"},
    {{N, 6, 0, 6002, "", 0, 0, 0, 3, 48, X86, 0},
     "Server 2008",
     "<unknown>",
     "Windows Server 2008 <unknown>",
     "PID:2 MAV:6 MIV:0 BLD:6002 CSD: PRTY:3 RSVD:0 SPMA:0 SPMI:0 MASK:0 PRIN:48 OSA:x86"},
    // 7 knows Professional; Server 2008 R2 by the minor version alone.
    {{N, 6, 1, 7601, "Service Pack 1", 1, 0, 0x0100, 1, 48, X64, 0},
     "7",
     "Professional",
     "Windows 7 Professional (x64) [Service Pack 1]",
     "PID:2 MAV:6 MIV:1 BLD:7601 CSD:Service Pack 1 PRTY:1 RSVD:0 SPMA:1 SPMI:0 MASK:256 PRIN:48 "
     "OSA:x64"},
    {{N, 6, 1, 7600, "", 0, 0, 0x0300, 1, 0xABCDABCDu, X86, 0},
     "7",
     "<unlicensed>",
     "Windows 7 <unlicensed>",
     "PID:2 MAV:6 MIV:1 BLD:7600 CSD: PRTY:1 RSVD:0 SPMA:0 SPMI:0 MASK:768 PRIN:2882382797 "
     "OSA:x86"},
    {{N, 6, 1, 7601, "Service Pack 1", 1, 0, 0x0110, 3, 7, X64, 0},
     "Server 2008",
     "R2",
     "Windows Server 2008 R2 (x64) [Service Pack 1]",
     "PID:2 MAV:6 MIV:1 BLD:7601 CSD:Service Pack 1 PRTY:3 RSVD:0 SPMA:1 SPMI:0 MASK:272 PRIN:7 "
     "OSA:x64"},
    // Later versions stay unnamed; 6.x still report their product number.
    {{N, 6, 2, 9200, "", 0, 0, 0x0300, 1, 48, X64, 0},
     "",
     "",
     "Windows   (x64)",
     "PID:2 MAV:6 MIV:2 BLD:9200 CSD: PRTY:1 RSVD:0 SPMA:0 SPMI:0 MASK:768 PRIN:48 OSA:x64"},
    {{N, 10, 0, 19045, "", 0, 0, 0x0100, 1, 48, X64, 0},
     "",
     "",
     "Windows   (x64)",
     "PID:2 MAV:10 MIV:0 BLD:19045 CSD: PRTY:1 RSVD:0 SPMA:0 SPMI:0 MASK:256 PRIN:0 OSA:x64"},
    {{N, 10, 0, 22631, "", 0, 0, 0x0100, 1, 48, 12, 0},
     "",
     "",
     "Windows  ",
     "PID:2 MAV:10 MIV:0 BLD:22631 CSD: PRTY:1 RSVD:0 SPMA:0 SPMI:0 MASK:256 PRIN:0 "
     "OSA:Unknown"},
};

void Play(sim::SimulatedWindows& sim, const System& s) {
    sim.SetVersion(s.major, s.minor, s.build, s.platform, s.csd);
    sim.SetVersionExtended(s.spMajor, s.spMinor, s.suite, s.productType);
    sim.SetProductInfo(s.product);
    sim.SetProcessorArchitecture(s.arch);
    if (s.metric != 0) sim.SetSystemMetric(s.metric, 1);
}

TEST(OsVersion, NamesEveryKnownSystem) {
    for (const NamingCase& c : kNamingCases) {
        sim::SimulatedWindows sim;
        Play(sim, c.system);
        const OsVersionRecord r = GetOSVersion(sim);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(r.Name, c.name);
        EXPECT_EQ(r.Edition, c.edition);
        EXPECT_EQ(r.Text, c.text);
        EXPECT_EQ(r.Numbers, c.numbers);
    }
}

TEST(OsVersion, KeepsTheRawFields) {
    sim::SimulatedWindows sim;
    sim.SetVersion(6, 1, 7601, kPlatformNt, "Service Pack 1");
    sim.SetVersionExtended(1, 2, 0x0110, kNtServer, 7);
    sim.SetProductInfo(42);
    OsVersionRecord r = GetOSVersion(sim);
    EXPECT_EQ(r.StructureSize, 156u);
    EXPECT_EQ(r.Major, 6u);
    EXPECT_EQ(r.Minor, 1u);
    EXPECT_EQ(r.Build, 7601u);
    EXPECT_EQ(r.Platform, kPlatformNt);
    EXPECT_EQ(r.ServicePack, "Service Pack 1");
    EXPECT_EQ(r.ServicePackMajor, 1);
    EXPECT_EQ(r.ServicePackMinor, 2);
    EXPECT_EQ(r.SuiteMask, 0x0110);
    EXPECT_EQ(r.ProductType, kNtServer);
    EXPECT_EQ(r.Reserved, 7);
    EXPECT_EQ(r.ProductInfo, "42");
    EXPECT_EQ(r.Architecture, "x86");

    // 98 has only the basic query: extended fields stay 0, the build loses
    // its high word, and no product information is asked for.
    sim.PlayWindows98();
    sim.SetVersionExtended(3, 1, 0x0100, kNtWorkstation);
    r = GetOSVersion(sim);
    EXPECT_EQ(r.StructureSize, 148u);
    EXPECT_EQ(r.Build, 2222u);
    EXPECT_EQ(r.ServicePack, "A");
    EXPECT_EQ(r.ServicePackMajor, 0);
    EXPECT_EQ(r.SuiteMask, 0);
    EXPECT_EQ(r.ProductType, 0);
    EXPECT_EQ(r.ProductInfo, "0");
}

TEST(OsVersion, FailedQueriesLeaveDefaults) {
    // NT without the extended query (NT 4 before SP6): the basic fields only.
    sim::SimulatedWindows sim;
    sim.SetVersion(4, 0, 1381, kPlatformNt, "Service Pack 5");
    sim.SetVersionExtended(5, 0, 0, kNtWorkstation);
    sim.Fail("GetVersionExtended");
    OsVersionRecord r = GetOSVersion(sim);
    EXPECT_EQ(r.StructureSize, 148u);
    EXPECT_EQ(r.Text, "Windows NT 4.0  [Service Pack 5]");
    EXPECT_EQ(r.Numbers,
              "PID:2 MAV:4 MIV:0 BLD:1381 CSD:Service Pack 5 PRTY:0 RSVD:0 SPMA:0 SPMI:0 MASK:0 "
              "PRIN:0 OSA:x86");

    // 7 whose product query fails: unknown edition, product 0.
    sim::SimulatedWindows seven;
    seven.SetVersion(6, 1, 7601, kPlatformNt);
    seven.SetVersionExtended(0, 0, 0, kNtWorkstation);
    seven.Fail("GetProductInfo");
    r = GetOSVersion(seven);
    EXPECT_EQ(r.Text, "Windows 7 <unknown>");
    EXPECT_EQ(r.ProductInfo, "0");

    // Nothing known at all.
    sim::SimulatedWindows none;
    none.Fail("GetVersionEx");
    r = GetOSVersion(none);
    EXPECT_EQ(r.StructureSize, 0u);
    EXPECT_EQ(r.Platform, 0u);
    EXPECT_EQ(r.Architecture, "Unknown");
    EXPECT_EQ(r.Text, "Windows  ");
    EXPECT_EQ(r.Numbers, "");
}

TEST(OsVersion, StartupKeepsTheRecordAndStillRefusesOldSystems) {
    test::TestMachine m;
    EXPECT_EQ(RunStartup(m.program), Dispatch::MainWindow);
    EXPECT_EQ(m.program.startup.WindowsVersion.Text, "Windows XP Professional [Service Pack 3]");

    test::TestMachine nt4;
    nt4.sim.SetVersion(4, 0, 1381, kPlatformNt, "Service Pack 6");
    nt4.sim.SetVersionExtended(6, 0, 0, kNtWorkstation);
    EXPECT_EQ(RunStartup(nt4.program), Dispatch::End);
    EXPECT_EQ(nt4.program.startup.WindowsVersion.Name, "NT 4.0");
}

}  // namespace
}  // namespace kelvra
