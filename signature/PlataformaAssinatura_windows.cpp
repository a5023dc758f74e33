#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <sddl.h>
#include <tlhelp32.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <memory>

#include "signature/PlataformaAssinatura.h"

namespace {
HANDLE tarefa(void* t) {
    return static_cast<HANDLE>(t);
}

struct FecharHandle {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using Handle = std::unique_ptr<void, FecharHandle>;

struct LiberarLocal {
    void operator()(void* p) const { LocalFree(p); }
};

// The SID of the user running the tool, or of the owner its new files get
// (the Administrators group when elevated).
QByteArray sidDoToken(TOKEN_INFORMATION_CLASS classe) {
    HANDLE bruto = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &bruto)) return {};
    const Handle token(bruto);
    DWORD tamanho = 0;
    GetTokenInformation(token.get(), classe, nullptr, 0, &tamanho);
    QByteArray dados(int(tamanho), '\0');
    if (tamanho == 0 || !GetTokenInformation(token.get(), classe, dados.data(), tamanho, &tamanho))
        return {};
    // TOKEN_USER and TOKEN_OWNER both start with the SID's pointer.
    const PSID sid = classe == TokenUser ? reinterpret_cast<TOKEN_USER*>(dados.data())->User.Sid
                                         : reinterpret_cast<TOKEN_OWNER*>(dados.data())->Owner;
    return QByteArray(static_cast<const char*>(sid), int(GetLengthSid(sid)));
}

bool mesmoSid(PSID sid, const QByteArray& outro) {
    return !outro.isEmpty() && EqualSid(sid, const_cast<char*>(outro.constData()));
}

// Resumes the threads of a process started suspended.
bool retomar(DWORD pid) {
    const Handle foto(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (foto.get() == INVALID_HANDLE_VALUE) return false;
    THREADENTRY32 fio{};
    fio.dwSize = sizeof fio;
    bool algum = false;
    for (BOOL ha = Thread32First(foto.get(), &fio); ha; ha = Thread32Next(foto.get(), &fio)) {
        if (fio.th32OwnerProcessID != pid) continue;
        const Handle h(OpenThread(THREAD_SUSPEND_RESUME, FALSE, fio.th32ThreadID));
        algum = (h && ResumeThread(h.get()) != DWORD(-1)) || algum;
    }
    return algum;
}
}  // namespace

// Only the copy shipped in the tool's folder: whatever PATH or the current
// folder hold is never run with the certificate's password.
QString programaOpenssl() {
    if (!QCoreApplication::instance()) return {};
    const QFileInfo proprio(QCoreApplication::applicationDirPath() + "/openssl.exe");
    return proprio.isFile() ? proprio.absoluteFilePath() : QString();
}

QString avisoOpensslAusente() {
    return QStringLiteral("O programa openssl.exe não foi encontrado na pasta do programa (") +
           QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) +
           QStringLiteral(
               "): ele acompanha a ferramenta e deve estar nessa pasta para gerar a "
               "assinatura. Reinstale a ferramenta.");
}

// The step starts suspended and is put in a Job object before it runs, so
// that nothing it starts escapes the job; closing the job kills what is left.
ArvoreOpenssl::ArvoreOpenssl(QProcess& processo) : m_processo(processo) {
    m_tarefa = CreateJobObjectW(nullptr, nullptr);
    if (m_tarefa) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limites{};
        limites.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(tarefa(m_tarefa), JobObjectExtendedLimitInformation, &limites,
                                sizeof limites);
    }
    m_processo.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* a) {
        a->flags |= CREATE_SUSPENDED | CREATE_NO_WINDOW;
    });
}

ArvoreOpenssl::~ArvoreOpenssl() {
    if (m_tarefa) CloseHandle(tarefa(m_tarefa));
}

// A tool already in a job that forbids another (Windows 7) still signs: the
// step then runs outside one, and a time limit ends the step alone.
void ArvoreOpenssl::liberar() {
    const auto pid = DWORD(m_processo.processId());
    if (m_tarefa) {
        const Handle processo(OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE, pid));
        if (!processo || !AssignProcessToJobObject(tarefa(m_tarefa), processo.get())) {
            CloseHandle(tarefa(m_tarefa));
            m_tarefa = nullptr;
        }
    }
    if (!retomar(pid)) m_processo.kill();
}

void ArvoreOpenssl::encerrar() {
    if (m_tarefa) TerminateJobObject(tarefa(m_tarefa), 1);
}

// There is no /dev/stdin for the signing step to read the key from, so the
// key is never written unencrypted: the conversion encrypts it with a
// password of this run alone, which the signing step reads from its input.
RotaDaChave::RotaDaChave() {
    for (int i = 0; i < 4; ++i)
        m_senha += QByteArray::number(QRandomGenerator::system()->generate64(), 16);
}

RotaDaChave::~RotaDaChave() {
    m_senha.fill(0);
}

QStringList RotaDaChave::escrita() const {
    return {QStringLiteral("-passout"), QStringLiteral("stdin")};
}

QByteArray RotaDaChave::entradaDaEscrita() const {
    return m_senha + '\n';
}

QStringList RotaDaChave::leitura(const QString& pem) const {
    return {QStringLiteral("-sign"), pem, QStringLiteral("-passin"), QStringLiteral("stdin")};
}

QByteArray RotaDaChave::entradaDaLeitura(const QString&) const {
    return m_senha + '\n';
}

// Both in the user's profile: %TEMP%, else the local application data.
QList<BaseTemporaria> basesTemporarias() {
    return {{QDir::tempPath(), false},
            {QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation), true}};
}

QString problemaDaBase(const BaseTemporaria& base) {
    const QFileInfo info(base.pasta);
    if (!info.isAbsolute() || !info.isDir() || info.isRoot())
        return QStringLiteral("não é uma pasta utilizável");
    return {};
}

// %TEMP% is the user's already, but may be set to a shared folder: the work
// folder's access list names the user alone, none inherited.
bool tornarPrivada(const QString& pasta) {
    const QByteArray usuario = sidDoToken(TokenUser);
    wchar_t* texto = nullptr;
    if (usuario.isEmpty() ||
        !ConvertSidToStringSidW(const_cast<char*>(usuario.constData()), &texto))
        return false;
    const std::unique_ptr<void, LiberarLocal> sidTexto(texto);
    const std::wstring sddl = L"D:P(A;OICI;FA;;;" + std::wstring(texto) + L")";
    PSECURITY_DESCRIPTOR descritor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                              &descritor, nullptr))
        return false;
    const std::unique_ptr<void, LiberarLocal> guarda(descritor);
    BOOL presente = FALSE, padrao = FALSE;
    PACL lista = nullptr;
    if (!GetSecurityDescriptorDacl(descritor, &presente, &lista, &padrao) || !presente)
        return false;
    std::wstring caminho = QDir::toNativeSeparators(pasta).toStdWString();
    return SetNamedSecurityInfoW(caminho.data(), SE_FILE_OBJECT,
                                 DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                 nullptr, nullptr, lista, nullptr) == ERROR_SUCCESS;
}

namespace {
bool doUsuario(const std::wstring& caminho) {
    PSID dono = nullptr;
    PSECURITY_DESCRIPTOR descritor = nullptr;
    if (GetNamedSecurityInfoW(caminho.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &dono,
                              nullptr, nullptr, nullptr, &descritor) != ERROR_SUCCESS)
        return false;
    const std::unique_ptr<void, LiberarLocal> guarda(descritor);
    return mesmoSid(dono, sidDoToken(TokenUser)) || mesmoSid(dono, sidDoToken(TokenOwner));
}

// A process that cannot be opened for want of rights is alive; one that is
// not there any more cannot be opened at all.
bool processoVivo(DWORD pid) {
    const Handle processo(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!processo) return GetLastError() != ERROR_INVALID_PARAMETER;
    DWORD codigo = 0;
    return !GetExitCodeProcess(processo.get(), &codigo) || codigo == STILL_ACTIVE;
}
}  // namespace

bool pastaAbandonada(const QString& caminho, qint64 pid) {
    const std::wstring nativo = QDir::toNativeSeparators(caminho).toStdWString();
    const DWORD atributos = GetFileAttributesW(nativo.c_str());
    if (pid <= 0 || atributos == INVALID_FILE_ATTRIBUTES ||
        !(atributos & FILE_ATTRIBUTE_DIRECTORY) || (atributos & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !doUsuario(nativo))
        return false;
    return !processoVivo(DWORD(pid));
}
