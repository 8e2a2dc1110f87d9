#pragma once
// An installed E-mu E4K emulated on an in-process Loopback bus, a progress
// window whose Stop button a test can press, a clock that never sits
// through real time, and a record of every alert shown.
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "devices/emulated/EmulatorClock.h"
#include "devices/emulated/SMDIEmulator.h"
#include "devices/emulated/SMDIEmulatorModel.h"
#include "devices/midi/RegisteredMIDIPorts.h"
#include "devices/scsi/LoopbackSCSI.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "devices/scsi/SCSIClock.h"
#include "framework/MainLoop.h"
#include "framework/window/AlertBox.h"
#include "framework/window/MessageSource.h"
#include "ui/samplers/SamplerFlowServices.h"

namespace quorvel::test {

// One simulated time for the program's waits and the emulator's: every
// sleep moves it on at once.
class CSimulatedClock final : public CABCClock, public CABCEmulatorClock {
public:
    uint64_t Milliseconds() const override { return now_; }
    void Sleep(std::chrono::milliseconds duration) override { now_ += static_cast<uint64_t>(duration.count()); }
    void WaitUntil(std::unique_lock<std::mutex>&, std::condition_variable&, uint64_t) override {}

private:
    std::atomic<uint64_t> now_{1000};
};

// A quarter second passes at every look: each progress update refreshes
// the window.
class CHurryingClock final : public CABCClock {
public:
    uint64_t Milliseconds() const override { return now_ += 250; }
    void Sleep(std::chrono::milliseconds duration) override { now_ += static_cast<uint64_t>(duration.count()); }

private:
    mutable uint64_t now_ = 0;
};

// Passes every command on to the emulator and keeps the SMDI message ids
// the program sent.
class CRecordingTarget final : public ISCSITarget {
public:
    explicit CRecordingTarget(std::shared_ptr<ISCSITarget> target) : target_(std::move(target)) {}
    SCSIResult Command(const uint8_t* block, ESCSIDirection direction, uint8_t* data, size_t length) override
    {
        if (direction == ESCSIDirection::kOut && length >= 8 && data[0] == 'S' && data[1] == 'M') {
            std::lock_guard lock(mutex_);
            sent_.push_back(uint32_t(data[4]) << 24 | uint32_t(data[5]) << 16 | uint32_t(data[6]) << 8 | data[7]);
        }
        return target_->Command(block, direction, data, length);
    }
    std::vector<uint32_t> Sent() const
    {
        std::lock_guard lock(mutex_);
        return sent_;
    }
    size_t Count(uint32_t id) const
    {
        size_t n = 0;
        for (uint32_t sent : Sent())
            n += sent == id;
        return n;
    }

private:
    std::shared_ptr<ISCSITarget> target_;
    mutable std::mutex mutex_;
    std::vector<uint32_t> sent_;
};

constexpr uint32_t kAbortProcedureId = 0x01050000;
constexpr uint32_t kSampleHeaderId = 0x01210000;

struct StopState {
    int shows = 0;
    int stopAfterShows = -1; // never
    // When set, only windows showing this label count and stop.
    std::string stopLabel;
    int labelShows = 0;
    std::vector<std::string> labels;
    std::vector<std::string> details;
};

class CStoppableWindow final : public CABCProgressWindow {
public:
    explicit CStoppableWindow(StopState& state) : state_(state) {}
    void Show(const SProgressContent& content) override
    {
        ++state_.shows;
        label_ = content.label;
        if (label_ == state_.stopLabel)
            ++state_.labelShows;
        state_.labels.push_back(content.label);
        if (!content.detail.empty())
            state_.details.push_back(content.detail);
    }
    bool StopPressed() const override
    {
        if (state_.stopAfterShows < 0)
            return false;
        if (state_.stopLabel.empty())
            return state_.shows > state_.stopAfterShows;
        return label_ == state_.stopLabel && state_.labelShows > state_.stopAfterShows;
    }

private:
    StopState& state_;
    std::string label_;
};

class CStoppablePresenter final : public CABCLengthyOperationPresenter {
public:
    void ShowBusyCursor(unsigned) override {}
    void RestoreCursor() override {}
    std::unique_ptr<CABCProgressWindow> OpenProgressWindow(const SProgressContent&) override
    {
        return std::make_unique<CStoppableWindow>(state);
    }
    void RequestAttention() override {}
    StopState state;
};

struct AlertRecorder {
    std::vector<AlertRecord> shown;
    int answer = AlertResultForSlot(0);
    AlertRecorder()
    {
        CAlertBox::SetResponder([this](const AlertRecord& record) {
            shown.push_back(record);
            return answer;
        });
    }
    ~AlertRecorder() { CAlertBox::SetResponder({}); }
    AlertRecorder(const AlertRecorder&) = delete;
    AlertRecorder& operator=(const AlertRecorder&) = delete;
};

struct AutoAnswer {
    explicit AutoAnswer(int answer) { CModalDialog::SetAutoAnswer(answer); }
    ~AutoAnswer() { CModalDialog::SetAutoAnswer(std::nullopt); }
};

class SamplerFlowFixture {
public:
    explicit SamplerFlowFixture(std::vector<SEmulatorFault> faults = {})
        : scsiClock(clock)
    {
        CLoopbackSCSIBus* bus = LoopbackSCSIBus(buses);
        emulator = std::make_shared<CSMDIEmulator>(*FindSMDIEmulatorModel("5121"), clock, faults);
        target = std::make_shared<CRecordingTarget>(emulator);
        bus->AddTarget(target);
        installed.modelTypeId = 5121;
        installed.modelName = "E-mu E4K via SCSI";
        installed.scsiBus = {kLoopbackSCSIBusName, kLoopbackSCSIDriverName};
        installed.scsiId = 0;
        installed.userName = "My E4K";
    }

    SSamplerFlowServices Services()
    {
        return SSamplerFlowServices{InstalledInterfaceFactory(devices), {progressClock, presenter, loop},
                                    [this](std::unique_ptr<CSoundDocument> d) { windows.push_back(std::move(d)); },
                                    settings, memory, nullptr};
    }

    CSimulatedClock clock;
    CScopedSCSIClock scsiClock;
    CSCSIBusRegistry buses;
    CMIDIPortLists ports;
    SSamplerDevices devices{ports, buses};
    std::shared_ptr<CSMDIEmulator> emulator;
    std::shared_ptr<CRecordingTarget> target;
    CPersistentInstalledSampler installed;
    CQtMessageSource source;
    CHurryingClock progressClock;
    CMainLoop loop{source, progressClock, {}};
    CStoppablePresenter presenter;
    SSettings settings;
    SSamplerDialogMemory memory;
    std::vector<std::unique_ptr<CSoundDocument>> windows;
};

} // namespace quorvel::test
