#pragma once
// The power line on which faults are located: two stations, the sections of the line from
// station 1, and on each section its parallel lines and tap connections. Every element keeps
// its parameters as (name, text) pairs named by the editor's display texts; the engine reads
// them by those names and converts the texts itself.
#include <memory>
#include <vector>

#include "platform/CString.h"

class SettingsNode;

class WrongPlaceLocatorData {
public:
    // Bit values, so that a parameter names the set of methods that use it.
    enum MethodType { IsolatedNeutral = 1, EarthedNeutral = 2, TwoEnded = 4 };

    struct ElementParam {
        int plain = 1;  // 1: a typed value; 0: the name of a channel of the record
        CString name;
        CString value;
        int methodMask = 7;
        int stationIndex = -1;
    };

    class Section;

    class Element {
    public:
        virtual ~Element() = default;
        virtual bool CanHoldSections() const { return false; }
        virtual bool CanHoldParallelLines() const { return false; }
        virtual bool CanHoldConnections() const { return false; }
        virtual Section* AddSection() { return nullptr; }
        virtual int GetSectionCount() const { return 0; }
        virtual Section* GetSection(int) const { return nullptr; }
        virtual bool IsRemovable() const { return false; }
        virtual bool CanMoveUp() const;
        virtual bool CanMoveDown() const;
        // Removing destroys this element: the caller must not use it afterwards.
        virtual void Remove();
        virtual void MoveUp();
        virtual void MoveDown();
        virtual void RemoveChild(Element*) {}
        virtual bool CanMoveChildUp(const Element*) const { return false; }
        virtual bool CanMoveChildDown(const Element*) const { return false; }
        virtual void MoveChildUp(Element*) {}
        virtual void MoveChildDown(Element*) {}

        void AddParam(const CString& name, const CString& value, bool isChannel, int methodMask, int stationIndex);
        CString GetParam(const CString& name) const;
        void SetParam(const CString& name, const CString& value);
        CString GetParamNameAt(int i) const;
        CString GetParamValueAt(int i) const;
        int GetParamCount() const { return int(params.size()); }
        const ElementParam& ParamAt(int i) const { return params.at(size_t(i)); }

        std::vector<ElementParam> params;
        bool expanded = true;
        int stationIndex = -1;
        Element* parent = nullptr;  // not owning
        void* treeItem = nullptr;   // the editor's handle; opaque here

    protected:
        Element() = default;
        Element(const Element&) = default;
        Element& operator=(const Element&) = default;
    };

    class ParallelLine : public Element {
    public:
        ParallelLine();
        bool IsRemovable() const override { return true; }
    };

    class Connection : public Element {
    public:
        Connection();
        bool IsRemovable() const override { return true; }
    };

    class Section : public Element {
    public:
        Section();
        Section(const Section& o);
        Section& operator=(const Section& o);
        bool CanHoldParallelLines() const override { return true; }
        bool CanHoldConnections() const override { return true; }
        bool IsRemovable() const override { return true; }
        void RemoveChild(Element* c) override;
        bool CanMoveChildUp(const Element* c) const override;
        bool CanMoveChildDown(const Element* c) const override;
        void MoveChildUp(Element* c) override;
        void MoveChildDown(Element* c) override;

        // The new element is linked to this section.
        ParallelLine* AddParallelLine();
        Connection* AddConnection();
        int GetParallelLineCount() const { return int(parallelLines.size()); }
        int GetConnectionCount() const { return int(connections.size()); }
        ParallelLine* GetParallelLine(int i) const;
        Connection* GetConnection(int i) const;

        // Children live on the heap so that a parent link survives every move of its list.
        std::vector<std::unique_ptr<ParallelLine>> parallelLines;
        std::vector<std::unique_ptr<Connection>> connections;

    private:
        void Relink();
    };

    class Station : public Element {
    public:
        explicit Station(int index);
        Station(const Station& o);
        Station& operator=(const Station& o);
        bool CanHoldSections() const override { return true; }
        Section* AddSection() override;
        int GetSectionCount() const override { return int(sections.size()); }
        Section* GetSection(int i) const override;
        void RemoveChild(Element* c) override;
        bool CanMoveChildUp(const Element* c) const override;
        bool CanMoveChildDown(const Element* c) const override;
        void MoveChildUp(Element* c) override;
        void MoveChildDown(Element* c) override;
        void ClearSections() { sections.clear(); }

        std::vector<std::unique_ptr<Section>> sections;

    private:
        void Relink();
    };

    WrongPlaceLocatorData();
    // A deep copy whose elements are linked into the copy itself, so that editing the copy
    // never reaches back into the model it was taken from.
    WrongPlaceLocatorData(const WrongPlaceLocatorData& o) = default;
    WrongPlaceLocatorData& operator=(const WrongPlaceLocatorData& o) = default;

    Station& GetStation(int index) { return index == 0 ? station1 : station2; }
    const Station& GetStation(int index) const { return index == 0 ? station1 : station2; }

    // Checks the numbers of station 1's sections that the method type uses; shows the first
    // violation in a message box and returns false.
    bool Validate() const;
    // The same check without a message box: the resource id of the first violation and the
    // offending parameter's name, or 0 when the model is valid.
    unsigned FindViolation(CString* paramName = nullptr) const;
    // The message of the first violation, or an empty text when the model is valid.
    CString ViolationText() const;

    // Storage in a settings category ("WrongPlaceFinding" of the record's settings, "omp" of
    // a line-model file).
    void Save(SettingsNode& node) const;
    void Load(const SettingsNode& node);
    void SaveStation(SettingsNode& node, int index) const;
    void LoadStation(const SettingsNode& node, int index);
    // Reads a legacy plain-text line model; false (and the model unchanged) when it cannot be
    // read.
    bool LoadLegacyText(const CString& path);

    Station station1{0};
    Station station2{1};
    int methodType = IsolatedNeutral;
};

// A parameter's text as a number: the leading number of the text, with a decimal comma read
// as a decimal point; 0 when the text holds no number. `complete` tells whether the whole text
// (blanks aside) was the number.
double LineParamToDouble(const CString& text, bool* complete = nullptr);

// The display names of the parameters: looked up by these texts everywhere.
namespace LineParam {
CString Name();
CString NominalCurrent();
CString Length();
CString Towers();
CString R();
CString X();
CString R1();
CString X1();
CString R0();
CString X0();
CString Comment();
CString Rm();
CString Xm();
CString TapR0();
CString TapX0();
}  // namespace LineParam
