#include "model/ChannelPair.h"

#include "model/SettingsStore.h"

namespace {

void Save(const ChannelPair& p, SettingsNode& node, const wchar_t* firstKey, const wchar_t* secondKey) {
    node.SetInt(L"visible", p.visible ? 1 : 0);
    node.SetString(firstKey, p.first);
    node.SetString(secondKey, p.second);
}

void Load(ChannelPair& p, const SettingsNode& node, const wchar_t* firstKey, const wchar_t* secondKey) {
    p.visible = node.GetInt(L"visible", 1) != 0;
    p.first = node.GetString(firstKey, L"?");
    p.second = node.GetString(secondKey, L"?");
}

}  // namespace

void ChannelPair::SaveDiff(SettingsNode& node) const { Save(*this, node, L"BrakeCurr", L"DiffCurr"); }
void ChannelPair::LoadDiff(const SettingsNode& node) { Load(*this, node, L"BrakeCurr", L"DiffCurr"); }
void ChannelPair::SaveCircle(SettingsNode& node) const { Save(*this, node, L"ActiveResist", L"ReactiveResist"); }
void ChannelPair::LoadCircle(const SettingsNode& node) { Load(*this, node, L"ActiveResist", L"ReactiveResist"); }
