#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <sddl.h>
#include <winver.h>

#include <cstdio>
#include <stdexcept>

#include "sat/Texto_windows.h"
#include "tests/pdv/Plataforma.h"

namespace pdv {

namespace {

std::string erroDoSistema(DWORD erro) {
    wchar_t* texto = nullptr;
    ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, erro, 0, reinterpret_cast<wchar_t*>(&texto), 0, nullptr);
    const std::string r = "erro " + std::to_string(erro) + (texto ? ": " + sat::utf8(texto) : "");
    ::LocalFree(texto);
    return r;
}

std::vector<BYTE> sidDoUsuario() {
    HANDLE token = nullptr;
    ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token);
    DWORD n = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &n);
    std::vector<BYTE> info(n);
    ::GetTokenInformation(token, TokenUser, info.data(), n, &n);
    ::CloseHandle(token);
    const PSID sid = reinterpret_cast<TOKEN_USER*>(info.data())->User.Sid;
    const auto* bytes = static_cast<const BYTE*>(sid);
    return std::vector<BYTE>(bytes, bytes + ::GetLengthSid(sid));
}

// An argument as the C runtime splits a command line.
std::wstring citado(const std::wstring& a) {
    if (!a.empty() && a.find_first_of(L" \t\"") == std::wstring::npos) return a;
    std::wstring r = L"\"";
    std::size_t barras = 0;
    for (const wchar_t c : a) {
        if (c == L'\\') {
            ++barras;
            continue;
        }
        r.append(c == L'"' ? barras * 2 + 1 : barras, L'\\');
        barras = 0;
        r += c;
    }
    r.append(barras * 2, L'\\');
    return r + L"\"";
}

}  // namespace

const long Segmentacao = long(EXCEPTION_ACCESS_VIOLATION);

void* carregar(const std::string& caminho, std::string& erro) {
    HMODULE b = ::LoadLibraryW(sat::utf16(caminho).c_str());
    if (!b) erro = erroDoSistema(::GetLastError());
    return reinterpret_cast<void*>(b);
}

void* simbolo(void* biblioteca, const char* nome) {
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(biblioteca), nome));
}

void descarregar(void* biblioteca) {
    ::FreeLibrary(static_cast<HMODULE>(biblioteca));
}

std::optional<std::string> versao(const std::string& arquivo, const std::string& chave) {
    const std::wstring caminho = sat::utf16(arquivo);
    DWORD nada = 0;
    const DWORD n = ::GetFileVersionInfoSizeW(caminho.c_str(), &nada);
    std::vector<BYTE> info(n);
    if (n == 0 || !::GetFileVersionInfoW(caminho.c_str(), 0, n, info.data())) return "";
    void* valor = nullptr;
    UINT tamanho = 0;
    if (chave == "FileVersion") {
        if (!::VerQueryValueW(info.data(), L"\\", &valor, &tamanho) || !valor) return "";
        const auto* fixa = static_cast<const VS_FIXEDFILEINFO*>(valor);
        return std::to_string(HIWORD(fixa->dwFileVersionMS)) + ',' +
               std::to_string(LOWORD(fixa->dwFileVersionMS)) + ',' +
               std::to_string(HIWORD(fixa->dwFileVersionLS)) + ',' +
               std::to_string(LOWORD(fixa->dwFileVersionLS));
    }
    if (!::VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", &valor, &tamanho) ||
        tamanho < 4)
        return "";
    const auto* traducao = static_cast<const WORD*>(valor);
    char bloco[16];
    std::snprintf(bloco, sizeof bloco, "%04X %04X", traducao[0], traducao[1]);
    if (chave == "Translation") return std::string(bloco);
    bloco[4] = '\0';
    const std::wstring consulta = L"\\StringFileInfo\\" + sat::utf16(bloco) +
                                  sat::utf16(bloco + 5) + L"\\" + sat::utf16(chave);
    if (!::VerQueryValueW(info.data(), consulta.c_str(), &valor, &tamanho) || !valor) return "";
    return sat::utf8(static_cast<const wchar_t*>(valor));
}

void definirVariavel(const char* nome, const std::string& valor) {
    ::SetEnvironmentVariableW(sat::utf16(nome).c_str(), sat::utf16(valor).c_str());
}

std::string pastaBase() {
    wchar_t base[MAX_PATH];
    const DWORD n = ::GetEnvironmentVariableW(L"LOCALAPPDATA", base, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) throw std::runtime_error("sem LOCALAPPDATA");
    return sat::utf8(base) + "\\sat-emulador-testes";
}

void abrirAosOutros(const std::string& pasta) {
    SID_IDENTIFIER_AUTHORITY mundo = SECURITY_WORLD_SID_AUTHORITY;
    PSID todos = nullptr;
    ::AllocateAndInitializeSid(&mundo, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &todos);
    EXPLICIT_ACCESSW acesso{};
    acesso.grfAccessPermissions = FILE_ALL_ACCESS;
    acesso.grfAccessMode = GRANT_ACCESS;
    acesso.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
    acesso.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    acesso.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    acesso.Trustee.ptstrName = static_cast<LPWSTR>(todos);
    PACL lista = nullptr;
    ::SetEntriesInAclW(1, &acesso, nullptr, &lista);
    std::wstring caminho = sat::utf16(pasta);
    const DWORD erro =
        ::SetNamedSecurityInfoW(caminho.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                nullptr, lista, nullptr);
    ::LocalFree(lista);
    ::FreeSid(todos);
    if (erro != ERROR_SUCCESS) throw std::runtime_error("abrirAosOutros: " + erroDoSistema(erro));
}

bool soDoUsuario(const std::string& pasta, std::string& porque) {
    PACL lista = nullptr;
    PSECURITY_DESCRIPTOR descritor = nullptr;
    const DWORD erro = ::GetNamedSecurityInfoW(sat::utf16(pasta).c_str(), SE_FILE_OBJECT,
                                               DACL_SECURITY_INFORMATION, nullptr, nullptr, &lista,
                                               nullptr, &descritor);
    if (erro != ERROR_SUCCESS) {
        porque = erroDoSistema(erro);
        return false;
    }
    std::vector<BYTE> usuario = sidDoUsuario();
    bool so = lista != nullptr;
    if (!so) porque = "sem lista de acesso: todos podem tudo";
    for (DWORD i = 0; so && i < lista->AceCount; ++i) {
        void* ace = nullptr;
        ::GetAce(lista, i, &ace);
        const auto* cabecalho = static_cast<const ACE_HEADER*>(ace);
        if (cabecalho->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        PSID sid = &static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart;
        if (!::EqualSid(sid, usuario.data()) && !::IsWellKnownSid(sid, WinLocalSystemSid)) {
            so = false;
            wchar_t* texto = nullptr;
            ::ConvertSidToStringSidW(sid, &texto);
            porque = "acesso de " + (texto ? sat::utf8(texto) : std::string("?"));
            ::LocalFree(texto);
        }
    }
    ::LocalFree(descritor);
    return so;
}

bool linkFisico(const std::string& arquivo, const std::string& outroNome) {
    return ::CreateHardLinkW(sat::utf16(outroNome).c_str(), sat::utf16(arquivo).c_str(), nullptr);
}

std::intptr_t travar(const std::string& arquivo) {
    const HANDLE h = ::CreateFileW(sat::utf16(arquivo).c_str(), GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    OVERLAPPED inicio{};
    if (h == INVALID_HANDLE_VALUE || !::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &inicio))
        throw std::runtime_error("sem trava: " + arquivo);
    return reinterpret_cast<std::intptr_t>(h);
}

void soltar(std::intptr_t trava) {
    // The handle, kept as a number where Linux keeps its descriptor.
    const auto h = reinterpret_cast<HANDLE>(trava);  // NOLINT(performance-no-int-to-ptr)
    OVERLAPPED inicio{};
    ::UnlockFileEx(h, 0, 1, 0, &inicio);
    ::CloseHandle(h);
}

std::string estePrograma() {
    wchar_t caminho[32768];
    const DWORD n = ::GetModuleFileNameW(nullptr, caminho, 32768);
    return n > 0 && n < 32768 ? sat::utf8(caminho) : std::string();
}

std::vector<Fim> executar(const std::vector<std::vector<std::string>>& comandos) {
    std::vector<PROCESS_INFORMATION> filhos;
    for (const auto& comando : comandos) {
        std::wstring linha;
        for (const auto& a : comando) linha += (linha.empty() ? L"" : L" ") + citado(sat::utf16(a));
        STARTUPINFOW inicio{};
        inicio.cb = sizeof inicio;
        PROCESS_INFORMATION filho{};
        if (!::CreateProcessW(sat::utf16(comando.front()).c_str(), linha.data(), nullptr, nullptr,
                              FALSE, 0, nullptr, nullptr, &inicio, &filho))
            throw std::runtime_error("não foi possível iniciar " + comando.front() + ": " +
                                     erroDoSistema(::GetLastError()));
        filhos.push_back(filho);
    }
    std::vector<Fim> fins;
    for (const auto& filho : filhos) {
        ::WaitForSingleObject(filho.hProcess, INFINITE);
        DWORD codigo = 0;
        ::GetExitCodeProcess(filho.hProcess, &codigo);
        ::CloseHandle(filho.hThread);
        ::CloseHandle(filho.hProcess);
        Fim f;
        f.sinal = codigo >= 0xC0000000u;
        f.codigo = long(codigo);
        fins.push_back(f);
    }
    return fins;
}

int processo() {
    return int(::GetCurrentProcessId());
}

}  // namespace pdv
