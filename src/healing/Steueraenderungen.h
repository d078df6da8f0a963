#pragma once
// The changes a healing press makes to the main window's inputs, in the order the window
// applies them. Each flag says the rule performs that step; unchecking a box that is already
// unchecked or enabling an enabled control is harmless, so the window can simply apply them.

namespace healing {

struct Steueraenderungen {
    // Select the option Krankenhaus (its click handler runs if the selection changes), then
    // call aktiviereKrankenhaus in any case.
    bool selectKrankenhaus = false;
    bool enableBioIndex = false; // BioIndexFrame, then BioIndex
    bool uncheckDokBio = false;
    bool uncheckUndokBio = false;
    bool uncheckDokCyb = false;
    bool uncheckUndokCyb = false;
    bool enableDokCybFrame = false;
    bool clearEssenzDok = false; // set the text of EssenzDok to ""

    friend bool operator==(const Steueraenderungen&, const Steueraenderungen&) = default;
};

} // namespace healing
