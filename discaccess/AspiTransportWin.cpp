#include "discaccess/AspiRequest.h"
#include "discaccess/DeviceAccess.h"
#include "discaccess/ScsiTransportWin.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace quillon::disc {

namespace {

using SupportInfoFn = DWORD(__cdecl *)();
using SendCommandFn = DWORD(__cdecl *)(void *);

constexpr std::uint8_t kStatusPending = 0x00;
// An aborted request gets this long to finish before it is given up on.
constexpr DWORD kAbortWaitMs = 2000;

std::uint32_t low32(const void *p) { return std::uint32_t(reinterpret_cast<std::uintptr_t>(p)); }

class AspiTransport : public ScsiTransport {
public:
    AspiTransport(HMODULE module, SupportInfoFn info, SendCommandFn send) : m_module(module), m_info(info), m_send(send)
    {
    }
    ~AspiTransport() override { FreeLibrary(m_module); }

    bool addressesByIndex() const override { return false; }
    bool supports(TCDInterface iface) const override { return iface != TCDInterface::cdiNTSCSI; }
    bool inquiryFromTable() const override { return false; }

    std::vector<DriveLocation> listDrives() override
    {
        std::vector<DriveLocation> drives;
        const int adapters = aspiAdapterCountFrom(m_info());
        for (int ha = 0; ha < adapters; ++ha) {
            auto inquiry = buildAspiHostAdapterInquiry(std::uint8_t(ha));
            m_send(inquiry.data());
            if (inquiry[1] != 0x01)
                continue;
            const int targets = inquiry[45] ? inquiry[45] : 7;
            for (int t = 0; t < targets; ++t) {
                for (int lun = 0; lun <= 64; ++lun) {
                    // The table holds 26 drives; a busy bus must not write past it.
                    if (drives.size() >= std::size_t(kDriveTableSize))
                        return drives;
                    auto type = buildAspiGetDeviceType(std::uint8_t(ha), std::uint8_t(t), std::uint8_t(lun));
                    m_send(type.data());
                    if (type[1] == 0x01 && type[10] == 5) {
                        DriveLocation d;
                        d.host = ha;
                        d.target = t;
                        d.lun = lun;
                        drives.push_back(d);
                    }
                }
            }
        }
        return drives;
    }

    ScsiOutcome execute(const DriveLocation &drive, const ScsiRequest &request) override
    {
        ScsiOutcome outcome;
        outcome.stage = OutcomeStage::Mapped;
        HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (!event) {
            outcome.presetCode = errNoEvent;
            return outcome;
        }
        // On the heap: a request that never finishes its abort is left to the driver, which may
        // still write into it.
        auto *request_ = new AspiExecBlock(buildAspiExec(std::uint8_t(drive.host), std::uint8_t(drive.target),
                                            std::uint8_t(drive.lun), request.direction,
                                            std::uint32_t(request.dataLength), low32(request.data), request.cdb,
                                            request.cdbLength, low32(event)));
        AspiExecBlock &block = *request_;
        ResetEvent(event);
        if (m_send(block.data()) != kStatusPending) {
            CloseHandle(event);
            delete request_;
            outcome.presetCode = errNoDevice;
            return outcome;
        }
        if (WaitForSingleObject(event, request.timeoutMs) == WAIT_TIMEOUT) {
            std::uint8_t abort[12] = {aspiAbortRequest, 0, block[2]};
            const std::uint32_t target = low32(block.data());
            std::memcpy(abort + 8, &target, 4);
            m_send(abort);
            // Bounded, and without pumping the user interface: nothing re-enters meanwhile.
            const DWORD start = GetTickCount();
            while (block[1] == kStatusPending && GetTickCount() - start < kAbortWaitMs)
                Sleep(10);
        }
        CloseHandle(event);
        const std::size_t senseCopy = std::min<std::size_t>(outcome.sense.size(), kAspiSenseSize);
        std::memcpy(outcome.sense.data(), &block[kAspiSenseOffset], senseCopy);
        outcome.senseLength = std::uint8_t(senseCopy);
        outcome.scsiStatus = block[23];
        outcome.hostStatus = block[22];
        outcome.presetCode = block[1] == kStatusPending
                                 ? std::uint8_t(errTimeout)
                                 : codeFromAspiStatus(block[1], block[22], block[23], &block[kAspiSenseOffset], 14);
        if (block[1] != kStatusPending)
            delete request_;
        return outcome;
    }

private:
    HMODULE m_module;
    SupportInfoFn m_info;
    SendCommandFn m_send;
};

} // namespace

std::unique_ptr<ScsiTransport> makeAspiTransport()
{
    HMODULE module = LoadLibraryA("wnaspi32.dll");
    if (!module)
        return nullptr;
    auto info = reinterpret_cast<SupportInfoFn>(reinterpret_cast<void *>(GetProcAddress(module, "GetASPI32SupportInfo")));
    auto send = reinterpret_cast<SendCommandFn>(reinterpret_cast<void *>(GetProcAddress(module, "SendASPI32Command")));
    if (!info || !send) {
        FreeLibrary(module);
        return nullptr;
    }
    return std::make_unique<AspiTransport>(module, info, send);
}

} // namespace quillon::disc
