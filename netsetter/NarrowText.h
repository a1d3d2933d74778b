// Texts that devices and adapters give as bytes, shown in the wide interface.
#pragma once
#include <string>
#include "netsetter/DeviceTable.h"

// Bytes in the ANSI code page of the thread, whose locale the start-up sets to the interface
// language; requests carry texts in the same code page.
std::wstring FromThreadAnsi(const std::string& bytes);
// That code page's number, and its lead bytes.
unsigned ThreadCodePage();
LeadByteTest ThreadLeadBytes();

// A row's name column: the name as DeviceListName gives it, with the domain-mode notice.
std::wstring DeviceListText(const DeviceTableEntry& entry);

// A storage device in domain mode (a question mark after the name's first character) gives the
// name before the question mark; false for every other device.
bool DomainModeName(const DeviceTableEntry& entry, std::wstring& name);
