#pragma once
class CMainFrame;
class wxDocManager;

// Builds the diagram panes the program has and places them in the main frame.
void CreateDiagramPanes(CMainFrame* frame, wxDocManager* manager);
// Smoke tests: the first vertical cursor at `sample` of the active record, and every channel
// the phasor diagram can take shown on it.
void PrepareDiagramSmoke(CMainFrame* frame, int sample);
