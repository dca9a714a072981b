// The wizard's pages and what each move between them resets: one owner for
// the wizard's state. The backup goes through steps 0 (selection), 1
// (destination), 2 (name) and 3 (run); the restore shows the archive's
// items on step 4 and its run on step 3. Going back from the archive's items
// chooses the archive again; leaving the restore for the welcome page, or
// choosing again, forgets the archive, its type and its list.
#pragma once

#include <cstdint>

namespace corvane {

enum class WizardMode : int16_t { None = 0, Backup = 1, Restore = 2 };

inline constexpr int kSelectionStep = 0;
inline constexpr int kDestinationStep = 1;
inline constexpr int kNameStep = 2;
inline constexpr int kRunStep = 3;
inline constexpr int kArchiveItemsStep = 4;

// What the window does after a move.
enum class WizardMove {
    None,           // nothing changes (a move this page does not have, or a run is going)
    ShowStep,       // show Step()
    ChooseArchive,  // the restore forgot its archive: the archive is chosen again
};

class WizardFlow {
public:
    WizardMode Mode() const { return mode_; }
    int Step() const { return step_; }
    bool Running() const { return running_; }
    // Whether the restore's choice (archive, type, list) is to be forgotten:
    // set by every move that leaves it, cleared once the window has done so.
    bool RestoreChoiceStale() const { return restoreStale_; }
    void RestoreChoiceForgotten() { restoreStale_ = false; }

    // The backup wizard opens on its selection.
    void OpenBackup();
    // The restore wizard opens on the archive's items, once an archive is chosen.
    void OpenRestore();
    // The archive choice was cancelled: back to the welcome page, nothing chosen.
    void CancelArchiveChoice();
    // Next and Back. `destinationReady` answers for the destination step.
    WizardMove Next(bool destinationReady = true);
    WizardMove Back();
    // A run begins and ends; meanwhile no move is made.
    void RunStarted() { running_ = true; }
    void RunEnded() { running_ = false; }

private:
    WizardMode mode_ = WizardMode::None;
    int step_ = kSelectionStep;
    bool running_ = false;
    bool restoreStale_ = false;
};

}  // namespace corvane
