#pragma once
// What the line-model editor does, apart from its window: the tree of stations, sections,
// parallel lines and connections with its labels and images, the property rows of the
// selected element, which tool-bar commands apply, and every edit, load and save. It works on
// its own copy of the model; the dialog shows its state and hands it the user's actions.
#include <vector>

#include "faultloc/WrongPlaceLocatorData.h"
#include "platform/CString.h"

class LineModelEditor {
public:
    using Element = WrongPlaceLocatorData::Element;

    // Images of the tree's items.
    enum Image { StationImage = 0, SectionImage = 1, ParallelLineImage = 2, ConnectionImage = 3 };

    // One item of the tree, in display order (each item's children follow it).
    struct Node {
        Element* element = nullptr;
        int parent = -1;  // index of the parent's node, -1 for a station
        int depth = 0;
        CString label;
        int image = StationImage;
    };

    // One row of the property grid.
    struct Row {
        CString name;
        CString value;
        bool channel = false;  // the value is chosen among the record's channels
    };

    // Which commands of the tool bar apply to the selected element.
    struct Commands {
        bool addSection = false;
        bool addParallelLine = false;
        bool addConnection = false;
        bool remove = false;
        bool moveUp = false;
        bool moveDown = false;
    };

    // What became of a load.
    enum class LoadResult { Loaded, Unreadable, NotALineModel };

    explicit LineModelEditor(const WrongPlaceLocatorData& model);

    WrongPlaceLocatorData& Model() { return m_model; }
    const WrongPlaceLocatorData& Model() const { return m_model; }

    // --- the tree
    const std::vector<Node>& Nodes() const { return m_nodes; }
    // Builds the tree anew from the model: the stations shown by the method, each element's
    // items with fresh numbers; relinks every shown element to its container. With
    // `selectStation1` station 1 becomes the selection, otherwise it stays where it was when
    // its element is still shown.
    void FillTree(bool selectStation1);
    Element* Selected() const { return m_selected; }
    // Selects the element's item; false (selection unchanged) when it has none.
    bool Select(const Element* element);
    int NodeOf(const Element* element) const;
    // The element's item is expanded or collapsed; kept in the model for the next opening.
    void SetExpanded(Element* element, bool expanded);

    // --- the method combo: index 0, 1, 2 for method types 1, 2, 4
    static int MethodIndexOf(int methodType);  // -1 for any other type
    static int MethodTypeAt(int index);        // 0 for any other index
    int MethodIndex() const { return MethodIndexOf(m_model.methodType); }
    // A new method: the tree is built anew with station 1 selected.
    void SetMethodIndex(int index);

    // --- the grid: parameters of the selected element that its method uses
    std::vector<Row> Rows() const;
    // The names offered for a channel parameter: every channel name once, in channel order.
    static std::vector<CString> ChannelChoices(const std::vector<CString>& channelNames);
    // A value edited in the grid.
    void SetValue(const CString& name, const CString& value);

    // --- tool-bar commands on the selected element; each does nothing when it does not apply
    Commands Available() const;
    void AddSection();
    void AddParallelLine();
    void AddConnection();
    void RemoveSelected();
    void MoveSelectedUp();
    void MoveSelectedDown();

    // --- line-model files
    // An ".omp" file (the settings-file format with one category "omp"), or a legacy text line
    // model. A file that is neither leaves the model as it was. `error` gets the reason of an
    // unreadable file.
    LoadResult Load(const CString& path, CString* error = nullptr);
    // Writes the model as an ".omp" file; false with the reason when it cannot be written
    // (an existing file then stays whole).
    bool Save(const CString& path, CString* error = nullptr) const;

    // The OK button: the model's numbers are checked; false (with the message shown) keeps the
    // editor open.
    bool Validate() const { return m_model.Validate(); }

private:
    void AddNode(Element* e, int parent, const CString& label, int image);
    int SubtreeEnd(int node) const;
    // Inserts an item for `e` at `pos` under `parent`.
    void InsertNode(size_t pos, Element* e, int parent, const CString& label, int image);

    WrongPlaceLocatorData m_model;
    std::vector<Node> m_nodes;
    Element* m_selected = nullptr;
};

// Labels of the tree.
CString StationLabel(int stationIndex, int methodType);
CString SectionLabel(int number);
CString ParallelLineLabel(int number);
CString ConnectionLabel(int number);
