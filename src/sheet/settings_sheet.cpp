#include "sheet/settings_sheet.h"

#include "sheet/raw_print_job.h"

#include <cstring>

namespace {
const char PRINTER_ID_LABEL[] = "Printer ID\r\n";
const char SIMM_LABEL[] = "\r\nSIMM\r\n";
const char FORM_FEED[] = "\f";
// ESC ( R, the count of the bytes that follow (8, little-endian), 00 and "REMOTE1".
const BYTE REMOTE_MODE_ENTRY[] = {0x1B, '(', 'R', 0x08, 0x00, 0x00, 'R', 'E', 'M', 'O', 'T', 'E', '1'};
const BYTE REMOTE_MODE_EXIT[] = {0x1B, 0x00, 0x00, 0x00};
const char AI_COMMAND[] = "AI";
const BYTE AI_PARAMETERS[] = {0x00, 0x00, 0x00};
const char SR_COMMAND[] = "SR";
const BYTE SR_PARAMETERS[] = {0x00, 0x01};
// A remote command record: the two command letters, the count of the parameter bytes
// (16-bit little-endian), the parameters.
const size_t RECORD_HEADER_SIZE = 4;

static_assert(sizeof(PRINTER_ID_LABEL) - 1 + sizeof(REMOTE_MODE_ENTRY) + RECORD_HEADER_SIZE +
                      sizeof(AI_PARAMETERS) + sizeof(REMOTE_MODE_EXIT) + sizeof(SIMM_LABEL) - 1 +
                      sizeof(REMOTE_MODE_ENTRY) + RECORD_HEADER_SIZE + sizeof(SR_PARAMETERS) +
                      sizeof(REMOTE_MODE_EXIT) + sizeof(FORM_FEED) - 1 ==
                  SETTINGS_SHEET_REQUEST_SIZE,
              "the pieces of ComposeSettingsSheetRequest fill the request exactly");

// Puts the pieces one after the other from the request's first byte.
class CRequestWriter {
public:
    explicit CRequestWriter(SettingsSheetRequest &request) : m_pNext(request.data()) {}

    template <size_t N> void Text(const char (&szText)[N]) { Put(szText, N - 1); }
    template <size_t N> void Bytes(const BYTE (&bytes)[N]) { Put(bytes, N); }
    template <size_t N> void RemoteCommand(const char (&szName)[3], const BYTE (&parameters)[N])
    {
        const BYTE header[RECORD_HEADER_SIZE] = {static_cast<BYTE>(szName[0]), static_cast<BYTE>(szName[1]),
                                                 static_cast<BYTE>(N & 0xFF), static_cast<BYTE>(N >> 8)};
        Bytes(header);
        Bytes(parameters);
    }

private:
    void Put(const void *pBytes, size_t cb)
    {
        std::memcpy(m_pNext, pBytes, cb);
        m_pNext += cb;
    }

    BYTE *m_pNext;
};
} // namespace

SettingsSheetRequest ComposeSettingsSheetRequest()
{
    SettingsSheetRequest request;
    CRequestWriter writer(request);
    writer.Text(PRINTER_ID_LABEL);
    writer.Bytes(REMOTE_MODE_ENTRY);
    writer.RemoteCommand(AI_COMMAND, AI_PARAMETERS);
    writer.Bytes(REMOTE_MODE_EXIT);
    writer.Text(SIMM_LABEL);
    writer.Bytes(REMOTE_MODE_ENTRY);
    writer.RemoteCommand(SR_COMMAND, SR_PARAMETERS);
    writer.Bytes(REMOTE_MODE_EXIT);
    writer.Text(FORM_FEED);
    return request;
}

BOOL SendSettingsSheetRequest(LPCSTR pszPrinterName)
{
    const SettingsSheetRequest request = ComposeSettingsSheetRequest();
    CRawPrintJob job;
    return job.Send(pszPrinterName, request.data(), static_cast<DWORD>(request.size()));
}
