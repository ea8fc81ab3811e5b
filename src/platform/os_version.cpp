#include "platform/os_version.h"

namespace kelvra {

namespace {

constexpr uint32_t kProductUnlicensed = 0xABCDABCDu;

std::string ArchitectureName(int architecture) {
    switch (architecture) {
        case kArchX86:
            return "x86";
        case kArchX64:
            return "x64";
        case kArchItanium:
            return "Itanium";
        default:
            return "Unknown";
    }
}

std::string ArchitectureSuffix(int architecture) {
    if (architecture == kArchItanium) return " (Itanium)";
    if (architecture == kArchX64) return " (x64)";
    return {};
}

// Release codes come padded with blanks (" A ").
std::string TrimBlanks(const std::string& s) {
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::string UpperCode(std::string code) {
    for (char& c : code)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return code;
}

// Editions of Vista and 7 by product number; "Professional" exists only for 7.
std::string DesktopEdition(uint32_t product, bool seven) {
    switch (product) {
        case 1:
            return "Ultimate";
        case 28:
            return "Ultimate N";
        case 6:
            return "Business";
        case 16:
            return "Business N";
        case 4:
            return "Enterprise";
        case 27:
            return "Enterprise N";
        case 2:
            return "Home Basic";
        case 5:
            return "Home Basic N";
        case 3:
            return "Home Premium";
        case 26:
            return "Home Premium N";
        case 11:
            return "Starter";
        case 48:
            if (seven) return "Professional";
            break;
        default:
            break;
    }
    return product == kProductUnlicensed ? "<unlicensed>" : "<unknown>";
}

// Names 95, 98 and ME from the minor version and the release code.
void NameWindows(OsVersionRecord& r) {
    const std::string code = UpperCode(r.ServicePack);
    if (r.Minor == 0) {
        r.Name = "95";
        if (code == "A") {
            r.Edition = "OSR1";
        } else if (code == "B") {
            r.Edition = r.Build >= 1111 && r.Build < 1212 ? "OSR2" : "OSR2.1";
        } else if (code == "C") {
            r.Edition = "OSR2.5";
        }
    } else if (r.Minor == 10) {
        r.Name = "98";
        if (code == "A") r.Edition = "Second Edition";
    } else if (r.Minor == 90) {
        r.Name = "ME";
    }
}

bool IsServer(uint8_t productType) {
    return productType == kNtDomainController || productType == kNtServer;
}

std::string Server2003Edition(OsVersionRecord& r, Os& os) {
    if (os.GetSystemMetrics(kSmServerR2) != 0) return "R2";
    const uint16_t suite = r.SuiteMask;
    if (suite & kSuiteSmallBusiness) return "Small Business";
    if (suite & kSuiteEnterprise) return "Enterprise";
    if (suite & kSuiteDatacenter) return "Datacenter";
    if (suite & kSuiteBlade) return "Web Edition";
    if (suite & kSuiteHomeServer) r.Name = "Home Server";
    return "Standard";
}

std::string Server2008Edition(OsVersionRecord& r, uint32_t product) {
    switch (product) {
        case 9:
            r.Name = "Small Business Server 2008";
            return "Standard";
        case 25:
            r.Name = "Small Business Server 2008";
            return "Premium";
        case 7:
        case 13:
            return "Standard";
        case 8:
        case 12:
            return "Datacenter";
        case 10:
        case 14:
        case 15:
            return "Enterprise";
        case 17:
            r.Name = "Web Server 2008";
            return "Standard";
        default:
            return product == kProductUnlicensed ? "<unlicensed>" : "<unknown>";
    }
}

// Names the NT family from the version, the extended fields, the product
// information and the edition metrics.
void NameNt(OsVersionRecord& r, Os& os, int architecture) {
    const uint8_t type = r.ProductType;
    if (r.Major == 3) {
        r.Name = "NT 3." + std::to_string(r.Minor);
        return;
    }
    if (r.Major == 4) {
        r.Name = "NT 4." + std::to_string(r.Minor);
        if (type == kNtWorkstation)
            r.Edition = "Workstation";
        else if (IsServer(type))
            r.Edition = r.SuiteMask & kSuiteEnterprise ? "Server Enterprise" : "Server Standard";
        return;
    }
    std::string edition = "Standard";
    if (r.Major == 5 && r.Minor == 0) {
        r.Name = "2000";
        if (type == kNtWorkstation) {
            edition = "Professional";
        } else if (IsServer(type)) {
            if (r.SuiteMask & kSuiteDatacenter)
                edition = "Datacenter Server";
            else if (r.SuiteMask & kSuiteEnterprise)
                edition = "Advanced Server";
            else
                edition = "Server";
        }
    } else if (r.Major == 5 && r.Minor == 1) {
        r.Name = "XP";
        if (r.SuiteMask & kSuiteEmbeddedNt)
            edition = "Embedded";
        else if (os.GetSystemMetrics(kSmMediaCenter) != 0)
            edition = "Media Center";
        else if (os.GetSystemMetrics(kSmTabletPc) != 0)
            edition = "Tablet PC";
        else if (os.GetSystemMetrics(kSmStarter) != 0)
            edition = "Starter";
        else if (r.SuiteMask & kSuitePersonal)
            edition = "Home";
        else
            edition = "Professional";
    } else if (r.Major == 5 && r.Minor == 2) {
        r.Name = "Server 2003";
        if (architecture == kArchX64 && type == kNtWorkstation) {
            r.Name = "XP Professional";
            edition.clear();
        } else if (IsServer(type)) {
            edition = Server2003Edition(r, os);
        } else {
            edition = "<unknown>";
        }
    } else if (r.Major == 6 && r.Minor <= 1) {
        uint32_t product = 0;
        if (!os.GetProductInfo(r.Major, r.Minor, r.ServicePackMajor, r.ServicePackMinor, product))
            product = 0;
        r.ProductInfo = std::to_string(product);
        const bool seven = r.Minor == 1;
        if (type == kNtWorkstation) {
            r.Name = seven ? "7" : "Vista";
            edition = DesktopEdition(product, seven);
        } else if (IsServer(type)) {
            r.Name = "Server 2008";
            edition = seven ? "R2" : Server2008Edition(r, product);
        } else {
            return;  // no product type: neither name nor edition
        }
    } else {
        if (r.Major == 6) {
            // Later 6.x versions: unnamed, but their product number is kept.
            uint32_t product = 0;
            if (os.GetProductInfo(r.Major, r.Minor, r.ServicePackMajor, r.ServicePackMinor,
                                  product))
                r.ProductInfo = std::to_string(product);
        }
        return;
    }
    r.Edition = edition;
}

}  // namespace

int ProcessorArchitecture(Os& os, const OsVersion& version) {
    if (version.platformId == kPlatformWindows) return kArchX86;
    if (version.platformId != kPlatformNt) return kArchUnknown;
    // Before XP there is no native-system query, and only x86 is named.
    if (version.majorVersion < 5 || (version.majorVersion == 5 && version.minorVersion == 0))
        return kArchX86;
    switch (os.NativeProcessorArchitecture()) {
        case kProcessorArchitectureIntel:
            return kArchX86;
        case kProcessorArchitectureAmd64:
            return kArchX64;
        case kProcessorArchitectureIa64:
            return kArchItanium;
        default:
            return kArchUnknown;
    }
}

OsVersionRecord GetOSVersion(Os& os) {
    OsVersionRecord r;
    r.ProductInfo = "0";
    OsVersion basic;
    if (os.GetVersionEx(basic)) {
        r.StructureSize = kOsVersionInfoSize;
    } else {
        basic = OsVersion{};
    }
    const int architecture = ProcessorArchitecture(os, basic);
    r.Architecture = ArchitectureName(architecture);
    r.Major = basic.majorVersion;
    r.Minor = basic.minorVersion;
    r.Build = basic.buildNumber;
    r.Platform = basic.platformId;
    r.ServicePack = basic.csdVersion;

    if (r.Platform == kPlatformWindows) {
        // The high word of the build holds the version again.
        r.Build &= 0xFFFFu;
        r.ServicePack = TrimBlanks(basic.csdVersion);
        NameWindows(r);
        r.Numbers = "PID:" + std::to_string(r.Platform) + " MAV:" + std::to_string(r.Major) +
                    " MIV:" + std::to_string(r.Minor) + " BLD:" + std::to_string(r.Build) +
                    " CSD:" + r.ServicePack + " OSA:" + r.Architecture;
    } else if (r.Platform == kPlatformNt) {
        OsVersion extended;
        if (os.GetVersionExtended(extended)) {
            r.StructureSize = kOsVersionInfoExSize;
            r.Build = extended.buildNumber;
            r.ServicePack = extended.csdVersion;
            r.ServicePackMajor = extended.servicePackMajor;
            r.ServicePackMinor = extended.servicePackMinor;
            r.SuiteMask = extended.suiteMask;
            r.ProductType = extended.productType;
            r.Reserved = extended.reserved;
        }
        NameNt(r, os, architecture);
        r.Numbers =
            "PID:" + std::to_string(r.Platform) + " MAV:" + std::to_string(r.Major) +
            " MIV:" + std::to_string(r.Minor) + " BLD:" + std::to_string(r.Build) +
            " CSD:" + r.ServicePack + " PRTY:" + std::to_string(r.ProductType) +
            " RSVD:" + std::to_string(r.Reserved) + " SPMA:" + std::to_string(r.ServicePackMajor) +
            " SPMI:" + std::to_string(r.ServicePackMinor) + " MASK:" + std::to_string(r.SuiteMask) +
            " PRIN:" + r.ProductInfo + " OSA:" + r.Architecture;
    }

    r.Text = "Windows " + r.Name + " " + r.Edition + ArchitectureSuffix(architecture);
    if (!r.ServicePack.empty()) r.Text += " [" + r.ServicePack + "]";
    return r;
}

}  // namespace kelvra
