#pragma once
class CMainFrame;
class wxDocManager;

// Builds the diagram panes the program has and places them in the main frame.
void CreateDiagramPanes(CMainFrame* frame, wxDocManager* manager);
// The application look the plane diagrams paint their split strip in.
void ApplyLookToDiagrams(CMainFrame* frame, int look);
// Smoke tests: the first vertical cursor at `sample` of the active record, and every channel
// the phasor, circle and spectrum diagrams can take shown on them.
void PrepareDiagramSmoke(CMainFrame* frame, int sample);
