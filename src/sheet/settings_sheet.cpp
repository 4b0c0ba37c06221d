#include "sheet/settings_sheet.h"

#include "sheet/raw_print_job.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace {
const char PRINTER_ID_LABEL[] = "Printer ID\r\n";
const char SIMM_LABEL[] = "\r\nSIMM\r\n";
const char FORM_FEED[] = "\f";
// ESC ( R, the count of the bytes that follow (8, little-endian), 00 and "REMOTE1".
const BYTE REMOTE_MODE_ENTRY[] = {0x1B, '(', 'R', 0x08, 0x00, 0x00, 'R', 'E', 'M', 'O', 'T', 'E', '1'};
const BYTE REMOTE_MODE_EXIT[] = {0x1B, 0x00, 0x00, 0x00};

struct Piece {
    const BYTE *pBytes;
    size_t cb;
};

Piece TextPiece(const char *pszText)
{
    return {reinterpret_cast<const BYTE *>(pszText), std::strlen(pszText)};
}

template <size_t N> Piece BytePiece(const BYTE (&bytes)[N])
{
    return {bytes, N};
}

// A remote command record: the two command letters, the count of the parameter bytes
// (16-bit little-endian), the parameters.
std::vector<BYTE> RemoteCommand(const char (&szName)[3], std::initializer_list<BYTE> parameters)
{
    const size_t cbParameters = parameters.size();
    std::vector<BYTE> record(4 + cbParameters);
    record[0] = static_cast<BYTE>(szName[0]);
    record[1] = static_cast<BYTE>(szName[1]);
    record[2] = static_cast<BYTE>(cbParameters & 0xFF);
    record[3] = static_cast<BYTE>(cbParameters >> 8);
    std::copy(parameters.begin(), parameters.end(), record.begin() + 4);
    return record;
}
} // namespace

std::vector<BYTE> ComposeSettingsSheetRequest()
{
    const std::vector<BYTE> aiRecord = RemoteCommand("AI", {0x00, 0x00, 0x00});
    const std::vector<BYTE> srRecord = RemoteCommand("SR", {0x00, 0x01});
    const Piece pieces[] = {
        TextPiece(PRINTER_ID_LABEL),        BytePiece(REMOTE_MODE_ENTRY), {aiRecord.data(), aiRecord.size()},
        BytePiece(REMOTE_MODE_EXIT),        TextPiece(SIMM_LABEL),        BytePiece(REMOTE_MODE_ENTRY),
        {srRecord.data(), srRecord.size()}, BytePiece(REMOTE_MODE_EXIT),  TextPiece(FORM_FEED),
    };
    size_t cbRequest = 0;
    for (const Piece &piece : pieces)
        cbRequest += piece.cb;
    std::vector<BYTE> request(cbRequest);
    BYTE *pNext = request.data();
    for (const Piece &piece : pieces)
        pNext = std::copy(piece.pBytes, piece.pBytes + piece.cb, pNext);
    return request;
}

BOOL SendSettingsSheetRequest(LPCSTR pszPrinterName)
{
    const std::vector<BYTE> request = ComposeSettingsSheetRequest();
    CRawPrintJob job;
    return job.Send(pszPrinterName, request.data(), static_cast<DWORD>(request.size()));
}
