// Writing accepted edits back into the scheme element the grid shows.
#include "halvex/config/ArmDataInterface.h"
#include "halvex/grid/model/MFCFuncPropsBool.h"
#include "halvex/grid/model/MFCFuncPropsFont.h"
#include "halvex/grid/model/MFCFuncPropsGridCtrl.h"

void CMFCFuncPropsBase::ApplyOnFloatingProps() {
    CMFCFuncPropsGridCtrl* grid = GetFuncGrid();
    if (!grid || !grid->m_pArmDataInterface || !grid->m_pSchemeElem) return;
    // The element classes are not part of this library yet: nothing is written.
}

bool CMFCFuncPropsGridCtrl::IsEditedOutputUsedInUsersSchemes() { return false; }

bool CMFCFuncPropsGridCtrl::DisconnectEditedOutputFromUsersSchemes() { return false; }

void CMFCFuncPropsFont::ApplyOnAction() {}

void CMFCFuncPropsColor::ApplyOnAction() {}
