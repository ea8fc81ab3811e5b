// The operating-system version record: what start-up keeps about the system
// and the debug window prints, with the names and editions of the Windows
// versions the program knows.
#pragma once

#include <cstdint>
#include <string>

#include "platform/os.h"

namespace kelvra {

struct OsVersionRecord {
    std::string Text;            // "Windows XP Professional [Service Pack 3]"
    std::string Numbers;         // the raw numbers as one line
    std::string Name;            // "98", "XP", "Server 2003", ..., or empty
    std::string Edition;         // "Professional", "R2", ..., or empty
    std::string Architecture;    // "x86", "x64", "Itanium" or "Unknown"
    std::string ProductInfo;     // GetProductInfo's number on Windows 6.x, else "0"
    uint32_t StructureSize = 0;  // 148 basic, 156 extended, 0 when nothing was read
    uint32_t Major = 0;
    uint32_t Minor = 0;
    uint32_t Build = 0;
    uint32_t Platform = 0;
    std::string ServicePack;  // on 95, 98 and ME the one-letter release code
    uint16_t ServicePackMajor = 0;
    uint16_t ServicePackMinor = 0;
    uint16_t SuiteMask = 0;
    uint8_t ProductType = 0;
    uint8_t Reserved = 0;
};

// Processor architectures as ProcessorArchitecture names them.
constexpr int kArchUnknown = 0;
constexpr int kArchX86 = 1;
constexpr int kArchX64 = 2;
constexpr int kArchItanium = 3;

// kArchX86 for 95/98/ME and NT before 5.1 (which know only x86 here), else
// the native processor architecture; kArchUnknown for any other platform.
int ProcessorArchitecture(Os& os, const OsVersion& version);

// Reads the version, the extended version, the product information, the
// architecture and the edition metrics, and names the system.
OsVersionRecord GetOSVersion(Os& os);

}  // namespace kelvra
