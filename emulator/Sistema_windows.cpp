#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <thread>
#include <vector>

#include "emulator/Sistema.h"
#include "sat/Texto_windows.h"

// Paths are UTF-8 inside and wide at every call of the system, so that a user
// folder with an accent works whatever the code page. Files are opened never
// through a reparse point (a link or a junction), shared for reading, writing
// and deleting (a rename of the state never fails on a reader's account), and
// the state's folder is private: its access list names the user alone,
// protected from what the folders above would hand down.
namespace emulador::sistema {

namespace {

[[noreturn]] void falhar(const std::string& oQue, const std::string& caminho) {
    throw std::runtime_error(oQue + ": " + caminho);
}

std::wstring largo(const std::string& texto) {
    std::wstring r = sat::utf16(texto);
    if (r.empty() && !texto.empty()) falhar("Caminho que não é UTF-8", texto);
    return r;
}

// A variable of the process's environment (also one a program set with
// SetEnvironmentVariableW after it started), empty when there is none.
std::string variavel(const wchar_t* nome) {
    std::wstring valor(256, L'\0');
    for (;;) {
        const DWORD n = ::GetEnvironmentVariableW(nome, valor.data(), DWORD(valor.size()));
        if (n < valor.size()) {
            valor.resize(n);
            return sat::utf8(valor);
        }
        valor.resize(n);
    }
}

// A handle that closes itself.
class Alca {
  public:
    explicit Alca(HANDLE h = INVALID_HANDLE_VALUE) : m_h(h) {}
    ~Alca() {
        if (valida()) ::CloseHandle(m_h);
    }
    Alca(const Alca&) = delete;
    Alca& operator=(const Alca&) = delete;
    HANDLE get() const { return m_h; }
    bool valida() const { return m_h != INVALID_HANDLE_VALUE && m_h != nullptr; }
    HANDLE soltar() {
        const HANDLE h = m_h;
        m_h = INVALID_HANDLE_VALUE;
        return h;
    }
    void trocar(HANDLE h) {
        if (valida()) ::CloseHandle(m_h);
        m_h = h;
    }

  private:
    HANDLE m_h;
};

// Who the process runs as: its user and the owner it gives what it makes (the
// Administrators group for an elevated administrator).
struct Usuario {
    std::vector<BYTE> sid;
    std::vector<BYTE> dono;
};

std::vector<BYTE> informacaoDoToken(HANDLE token, TOKEN_INFORMATION_CLASS classe) {
    DWORD n = 0;
    ::GetTokenInformation(token, classe, nullptr, 0, &n);
    std::vector<BYTE> r(n);
    if (n == 0 || !::GetTokenInformation(token, classe, r.data(), n, &n)) r.clear();
    return r;
}

std::vector<BYTE> copiaDoSid(PSID sid) {
    const auto* bytes = static_cast<const BYTE*>(sid);
    return std::vector<BYTE>(bytes, bytes + ::GetLengthSid(sid));
}

const Usuario& usuario() {
    static const Usuario u = [] {
        Usuario r;
        HANDLE token = nullptr;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
            throw std::runtime_error("Não foi possível saber o usuário do processo");
        const Alca fechar(token);
        const auto usuarioToken = informacaoDoToken(token, TokenUser);
        const auto donoToken = informacaoDoToken(token, TokenOwner);
        if (usuarioToken.empty() || donoToken.empty())
            throw std::runtime_error("Não foi possível saber o usuário do processo");
        r.sid = copiaDoSid(reinterpret_cast<const TOKEN_USER*>(usuarioToken.data())->User.Sid);
        r.dono = copiaDoSid(reinterpret_cast<const TOKEN_OWNER*>(donoToken.data())->Owner);
        return r;
    }();
    return u;
}

bool mesmoSid(PSID sid, const std::vector<BYTE>& outro) {
    return !outro.empty() && ::EqualSid(sid, const_cast<BYTE*>(outro.data()));
}

bool sidConhecido(PSID sid, WELL_KNOWN_SID_TYPE tipo) {
    return ::IsWellKnownSid(sid, tipo) != FALSE;
}

// The user, and those who may do anything on the machine anyway (as root on
// Linux): the system, the Administrators, Windows's installer, and the owner's
// own rights.
bool confiavel(PSID sid) {
    static const SID_IDENTIFIER_AUTHORITY Nt = SECURITY_NT_AUTHORITY;
    const auto* autoridade = ::GetSidIdentifierAuthority(sid);
    // NT SERVICE\TrustedInstaller: S-1-5-80-956008885-...
    const bool instalador =
        autoridade &&
        std::equal(std::begin(Nt.Value), std::end(Nt.Value), std::begin(autoridade->Value)) &&
        *::GetSidSubAuthorityCount(sid) == 6 && *::GetSidSubAuthority(sid, 0) == 80 &&
        *::GetSidSubAuthority(sid, 1) == 956008885;
    return mesmoSid(sid, usuario().sid) || mesmoSid(sid, usuario().dono) ||
           sidConhecido(sid, WinLocalSystemSid) || sidConhecido(sid, WinBuiltinAdministratorsSid) ||
           sidConhecido(sid, WinCreatorOwnerRightsSid) || instalador;
}

// Whether anyone but those above is granted any of these rights on the
// object (an access list that lets anyone do anything included).
bool outrosPodem(PACL lista, DWORD direitos) {
    if (!lista) return true;
    GENERIC_MAPPING mapa{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                         FILE_ALL_ACCESS};
    for (DWORD i = 0; i < lista->AceCount; ++i) {
        void* ace = nullptr;
        if (!::GetAce(lista, i, &ace)) return true;
        const auto* cabecalho = static_cast<const ACE_HEADER*>(ace);
        // What is only handed down to what the folder holds is not its own.
        if (cabecalho->AceType != ACCESS_ALLOWED_ACE_TYPE ||
            (cabecalho->AceFlags & INHERIT_ONLY_ACE))
            continue;
        auto* permitido = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        DWORD mascara = permitido->Mask;
        ::MapGenericMask(&mascara, &mapa);
        if ((mascara & direitos) && !confiavel(&permitido->SidStart)) return true;
    }
    return false;
}

// Whoever may add, remove or rename what a folder holds, change its access or
// take it: anyone else who could plant a file, or a folder in this one's place.
constexpr DWORD DireitosDeEscrita =
    FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY | FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER;
// Above the folder, creating new folders beside it is harmless (as in a
// sticky /tmp): what counts is whoever may remove, rename or take one.
constexpr DWORD DireitosAcima = FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER;

// The access list of a folder made private: the user alone, handed down to
// everything inside it, nothing taken from the folders above.
class Privado {
  public:
    Privado() {
        const auto& sid = usuario().sid;
        m_lista.resize(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + sid.size());
        auto* lista = reinterpret_cast<PACL>(m_lista.data());
        if (!::InitializeAcl(lista, DWORD(m_lista.size()), ACL_REVISION) ||
            !::AddAccessAllowedAceEx(lista, ACL_REVISION,
                                     OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, FILE_ALL_ACCESS,
                                     const_cast<BYTE*>(sid.data())) ||
            !::InitializeSecurityDescriptor(&m_descritor, SECURITY_DESCRIPTOR_REVISION) ||
            !::SetSecurityDescriptorDacl(&m_descritor, TRUE, lista, FALSE) ||
            !::SetSecurityDescriptorControl(&m_descritor, SE_DACL_PROTECTED, SE_DACL_PROTECTED))
            throw std::runtime_error("Não foi possível preparar a proteção da pasta do emulador");
        m_atributos.lpSecurityDescriptor = &m_descritor;
    }
    Privado(const Privado&) = delete;
    Privado& operator=(const Privado&) = delete;
    SECURITY_ATTRIBUTES* atributos() { return &m_atributos; }

  private:
    std::vector<BYTE> m_lista;
    SECURITY_DESCRIPTOR m_descritor{};
    SECURITY_ATTRIBUTES m_atributos{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

// Where the path's root ends: "C:\", "\\servidor\pasta\".
std::size_t fimDaRaiz(const std::wstring& caminho) {
    if (caminho.size() >= 3 && caminho[1] == L':' && caminho[2] == L'\\') return 3;
    if (caminho.rfind(L"\\\\", 0) == 0) {
        std::size_t barra = caminho.find(L'\\', 2);
        if (barra != std::wstring::npos) barra = caminho.find(L'\\', barra + 1);
        return barra == std::wstring::npos ? caminho.size() : barra + 1;
    }
    return 0;
}

// Every folder between the root and this one's own, nearest first: anyone who
// may remove, rename or take one may put another folder in this one's place.
void conferirAcima(const std::wstring& pasta, const std::string& nome) {
    const std::size_t raiz = fimDaRaiz(pasta);
    std::wstring acima = pasta;
    for (std::size_t barra; (barra = acima.rfind(L'\\')) != std::wstring::npos && barra >= raiz;) {
        acima.resize(barra);
        PACL lista = nullptr;
        PSECURITY_DESCRIPTOR descritor = nullptr;
        if (::GetNamedSecurityInfoW(acima.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, &lista, nullptr, &descritor) != ERROR_SUCCESS)
            continue;
        const bool outros = outrosPodem(lista, DireitosAcima);
        ::LocalFree(descritor);
        if (outros)
            falhar("Uma pasta acima da do emulador pode ser alterada por outros usuários",
                   nome + " (" + sat::utf8(acima) + ")");
    }
}

// Never through a reparse point, never a pipe or a device, never a file that
// has another name elsewhere. Invalid when it cannot be opened, with the
// system's error left for the caller.
HANDLE abrir(const std::string& caminho, DWORD acesso, DWORD criacao) {
    const HANDLE h = ::CreateFileW(
        largo(caminho).c_str(), acesso, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, criacao, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return h;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool comum =
        ::GetFileType(h) == FILE_TYPE_DISK && ::GetFileInformationByHandle(h, &info) &&
        !(info.dwFileAttributes &
          (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE));
    if (!comum || info.nNumberOfLinks > 1) {
        ::CloseHandle(h);
        falhar(comum ? "Arquivo do emulador com outro nome (link físico)"
                     : "Arquivo do emulador não é um arquivo comum",
               caminho);
    }
    return h;
}

bool naoExiste(DWORD erro) {
    return erro == ERROR_FILE_NOT_FOUND || erro == ERROR_PATH_NOT_FOUND;
}

std::int64_t tamanho(HANDLE h) {
    LARGE_INTEGER n{};
    return ::GetFileSizeEx(h, &n) ? n.QuadPart : -1;
}

bool escreverTudo(HANDLE h, const std::string& dados) {
    for (std::size_t feito = 0; feito < dados.size();) {
        DWORD n = 0;
        const DWORD parte = DWORD(std::min<std::size_t>(dados.size() - feito, 1u << 30));
        if (!::WriteFile(h, dados.data() + feito, parte, &n, nullptr) || n == 0) return false;
        feito += n;
    }
    return true;
}

// A rename over a file that something else (a virus scanner, the indexer)
// holds open for a moment is tried again for up to a second. Not written
// through to the disk (MOVEFILE_WRITE_THROUGH): as on Linux, a device's state
// need not outlive a power cut, and a call must stay well under a millisecond.
bool moverPorCima(const std::string& de, const std::string& para) {
    const std::wstring origem = largo(de);
    const std::wstring destino = largo(para);
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    for (;;) {
        if (::MoveFileExW(origem.c_str(), destino.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
        const DWORD erro = ::GetLastError();
        if ((erro != ERROR_ACCESS_DENIED && erro != ERROR_SHARING_VIOLATION) ||
            std::chrono::steady_clock::now() > limite)
            return false;
        ::Sleep(5);
    }
}

// Cuts back a line written in part (a full disk): the next one must not run
// into half of it.
bool cortar(const std::string& arquivo, DWORD escritos) {
    const Alca h(abrir(arquivo, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING));
    if (!h.valida()) return false;
    FILE_END_OF_FILE_INFO fim{};
    fim.EndOfFile.QuadPart = tamanho(h.get()) - escritos;
    return fim.EndOfFile.QuadPart >= 0 &&
           ::SetFileInformationByHandle(h.get(), FileEndOfFileInfo, &fim, sizeof fim);
}

// Opened for appending alone: every write goes to the end in one step, as
// O_APPEND does (on Windows; Wine finds the end first, then writes there).
HANDLE abrirParaAnexar(const std::string& arquivo) {
    return abrir(arquivo, FILE_APPEND_DATA | FILE_READ_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                 OPEN_ALWAYS);
}

// Appenders one at a time, so that two lines never land on the same place
// whatever the system does with an append: a lock on a byte far past any
// journal, which no read or write ever meets. A holder stuck in between is
// waited for a moment only, then the line goes in all the same.
class VezDoDiario {
  public:
    explicit VezDoDiario(HANDLE h) : m_h(h) {
        const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
        while (!(m_tem = ::LockFileEx(m_h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                                      1, 0, lugar()) != FALSE) &&
               std::chrono::steady_clock::now() < limite)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ~VezDoDiario() {
        if (m_tem) ::UnlockFileEx(m_h, 0, 1, 0, lugar());
    }
    VezDoDiario(const VezDoDiario&) = delete;
    VezDoDiario& operator=(const VezDoDiario&) = delete;

  private:
    OVERLAPPED* lugar() {
        m_lugar = OVERLAPPED{};
        m_lugar.OffsetHigh = 0x40000000;  // 2^62
        return &m_lugar;
    }
    HANDLE m_h;
    OVERLAPPED m_lugar{};
    bool m_tem = false;
};

bool anexar(HANDLE h, std::int64_t tamanhoAntes, const std::string& arquivo,
            const std::string& linha) {
    char ultimo = '\n';
    if (tamanhoAntes > 0) {
        OVERLAPPED onde{};
        onde.Offset = DWORD(tamanhoAntes - 1);
        onde.OffsetHigh = DWORD((tamanhoAntes - 1) >> 32);
        DWORD lido = 0;
        if (!::ReadFile(h, &ultimo, 1, &lido, &onde) || lido != 1) ultimo = '\n';
    }
    const std::string texto = (ultimo != '\n' ? "\n" : "") + linha + '\n';
    DWORD n = 0;
    if (::WriteFile(h, texto.data(), DWORD(texto.size()), &n, nullptr) && n == texto.size())
        return true;
    if (n > 0 && !cortar(arquivo, n))
        std::fprintf(stderr, "dllsat (emulador): linha incompleta no diário\n");
    return false;
}

}  // namespace

const char* const OndeFicaOEstado = "%SAT_EMULADOR_DIR%, senão em\n%LOCALAPPDATA%\\sat-emulador";
const char* const NomeBiblioteca = "dllsat.dll";

std::string pastaPadrao() {
    const std::string pasta = variavel(L"SAT_EMULADOR_DIR");
    if (!pasta.empty()) return pasta;
    const std::string base = variavel(L"LOCALAPPDATA");
    if (!base.empty()) return base + "\\sat-emulador";
    return variavel(L"USERPROFILE") + "\\AppData\\Local\\sat-emulador";
}

void prepararPasta(const std::string& pasta) {
    const std::wstring pedida = largo(pasta);
    const DWORD n = ::GetFullPathNameW(pedida.c_str(), 0, nullptr, nullptr);
    std::wstring inteira(n, L'\0');
    if (n == 0 || ::GetFullPathNameW(pedida.c_str(), n, inteira.data(), nullptr) >= n)
        falhar("Não foi possível criar a pasta do emulador", pasta);
    inteira.resize(n - 1);
    while (inteira.size() > fimDaRaiz(inteira) && inteira.back() == L'\\') inteira.pop_back();

    // The folder and the parents it lacks, each private.
    Privado privado;
    for (std::size_t fim = fimDaRaiz(inteira); fim != std::wstring::npos;) {
        fim = inteira.find(L'\\', fim + 1);
        const std::wstring parte = inteira.substr(0, fim);
        if (!::CreateDirectoryW(parte.c_str(), privado.atributos())) {
            const DWORD erro = ::GetLastError();
            const DWORD atributos = ::GetFileAttributesW(parte.c_str());
            if (erro != ERROR_ALREADY_EXISTS &&
                (atributos == INVALID_FILE_ATTRIBUTES || !(atributos & FILE_ATTRIBUTE_DIRECTORY)))
                falhar("Não foi possível criar a pasta do emulador", pasta);
        }
    }
    const Alca h(::CreateFileW(inteira.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!h.valida() || !::GetFileInformationByHandle(h.get(), &info) ||
        !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        falhar("Não foi possível criar a pasta do emulador", pasta);

    PSID dono = nullptr;
    PACL lista = nullptr;
    PSECURITY_DESCRIPTOR descritor = nullptr;
    if (::GetSecurityInfo(h.get(), SE_FILE_OBJECT,
                          OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &dono, nullptr,
                          &lista, nullptr, &descritor) != ERROR_SUCCESS)
        falhar("Não foi possível ler a proteção da pasta do emulador", pasta);
    const bool doUsuario =
        dono && (mesmoSid(dono, usuario().sid) || mesmoSid(dono, usuario().dono));
    const bool outros = outrosPodem(lista, DireitosDeEscrita);
    ::LocalFree(descritor);
    if (!doUsuario) falhar("A pasta do emulador pertence a outro usuário", pasta);
    // Anyone who may write there could plant links to other files.
    if (outros)
        falhar(
            "A pasta do emulador pode ser alterada por outros usuários (tire deles a "
            "permissão de gravar, em Propriedades > Segurança)",
            pasta);
    conferirAcima(inteira, pasta);
}

// Byte-range locks exclude other handles of this process as well as other
// processes, and go with their handle when a holder dies.
Trava::Trava(const std::string& arquivo, int esperaMs) {
    Alca h(abrir(arquivo, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS));
    if (!h.valida()) falhar("Não foi possível travar", arquivo);
    const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(esperaMs);
    for (;;) {
        OVERLAPPED inicio{};
        if (::LockFileEx(h.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                         &inicio))
            break;
        const DWORD erro = ::GetLastError();
        if (erro != ERROR_LOCK_VIOLATION && erro != ERROR_IO_PENDING)
            falhar("Não foi possível travar", arquivo);
        if (std::chrono::steady_clock::now() > limite) throw Ocupado();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    m_arquivo = reinterpret_cast<std::intptr_t>(h.soltar());
}

Trava::~Trava() {
    // The handle, kept as a number where Linux keeps its descriptor.
    const auto h = reinterpret_cast<HANDLE>(m_arquivo);  // NOLINT(performance-no-int-to-ptr)
    OVERLAPPED inicio{};
    ::UnlockFileEx(h, 0, 1, 0, &inicio);
    ::CloseHandle(h);
}

bool lerArquivo(const std::string& caminho, std::string& conteudo, std::int64_t limite,
                const char* alemDoLimite) {
    const Alca h(abrir(caminho, GENERIC_READ, OPEN_EXISTING));
    if (!h.valida()) {
        if (naoExiste(::GetLastError())) return false;
        falhar("Não foi possível ler o estado do emulador", caminho);
    }
    const std::int64_t n = tamanho(h.get());
    if (n < 0 || n > limite) falhar(alemDoLimite, caminho);
    char bloco[65536];
    DWORD lido = 0;
    BOOL ok;
    while ((ok = ::ReadFile(h.get(), bloco, sizeof bloco, &lido, nullptr)) && lido > 0)
        conteudo.append(bloco, lido);
    if (!ok) falhar("Não foi possível ler o estado do emulador", caminho);
    return true;
}

void substituir(const std::string& arquivo, const std::string& conteudo) {
    const std::string novo = arquivo + ".novo";
    if (!::DeleteFileW(largo(novo).c_str()) && !naoExiste(::GetLastError()))
        falhar("Não foi possível gravar o estado do emulador", arquivo);
    bool escrito;
    {
        const Alca h(abrir(novo, GENERIC_WRITE, CREATE_NEW));
        escrito = h.valida() && escreverTudo(h.get(), conteudo);
    }
    if (!escrito || !moverPorCima(novo, arquivo)) {
        ::DeleteFileW(largo(novo).c_str());
        falhar("Não foi possível gravar o estado do emulador", arquivo);
    }
}

bool renomear(const std::string& de, const std::string& para) {
    return moverPorCima(de, para);
}

void anexarLinha(const std::string& arquivo, const std::string& linha, std::int64_t limite) {
    Alca h(abrirParaAnexar(arquivo));
    const std::int64_t n = h.valida() ? tamanho(h.get()) : 0;
    if (h.valida() && n > 0 && n + std::int64_t(linha.size()) >= limite) {
        h.trocar(INVALID_HANDLE_VALUE);
        if (moverPorCima(arquivo, arquivo + ".1")) h.trocar(abrirParaAnexar(arquivo));
    }
    if (!h.valida()) falhar("Não foi possível escrever no diário", arquivo);
    const VezDoDiario vez(h.get());
    if (!anexar(h.get(), tamanho(h.get()), arquivo, linha))
        falhar("Não foi possível escrever no diário", arquivo);
}

std::tm horaLocal(std::time_t t) {
    std::tm local{};
    localtime_s(&local, &t);
    return local;
}

void falhaDeSegmentacao() {
    ::RaiseException(EXCEPTION_ACCESS_VIOLATION, 0, 0, nullptr);
}

}  // namespace emulador::sistema
