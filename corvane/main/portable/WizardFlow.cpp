#include "corvane/main/portable/WizardFlow.h"

namespace corvane {

void WizardFlow::OpenBackup() {
    if (running_) return;
    if (mode_ == WizardMode::Restore) restoreStale_ = true;
    mode_ = WizardMode::Backup;
    step_ = kSelectionStep;
}

void WizardFlow::OpenRestore() {
    if (running_) return;
    mode_ = WizardMode::Restore;
    step_ = kArchiveItemsStep;
}

void WizardFlow::CancelArchiveChoice() {
    if (running_) return;
    mode_ = WizardMode::None;
    step_ = kSelectionStep;
    restoreStale_ = true;
}

WizardMove WizardFlow::Next(bool destinationReady) {
    if (running_) return WizardMove::None;
    if (mode_ == WizardMode::Restore) {
        if (step_ != kArchiveItemsStep) return WizardMove::None;
        step_ = kRunStep;
        return WizardMove::ShowStep;
    }
    if (mode_ != WizardMode::Backup || step_ >= kRunStep) return WizardMove::None;
    if (step_ == kDestinationStep && !destinationReady) return WizardMove::None;
    ++step_;
    return WizardMove::ShowStep;
}

WizardMove WizardFlow::Back() {
    if (running_) return WizardMove::None;
    if (mode_ == WizardMode::Restore) {
        if (step_ == kRunStep) {
            step_ = kArchiveItemsStep;
            return WizardMove::ShowStep;
        }
        if (step_ != kArchiveItemsStep) return WizardMove::None;
        restoreStale_ = true;
        return WizardMove::ChooseArchive;
    }
    if (mode_ != WizardMode::Backup || step_ <= kSelectionStep || step_ > kRunStep) return WizardMove::None;
    --step_;
    return WizardMove::ShowStep;
}

}  // namespace corvane
