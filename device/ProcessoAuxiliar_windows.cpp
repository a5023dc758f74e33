#include <windows.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>

#include "device/ProcessoAuxiliar.h"
#include "device/Sistema.h"

using namespace sistema;

struct ProcessoAuxiliar::Nativo {
    HANDLE processo;
    HANDLE grupo;    // a Job object: the helper and whatever the library starts
    HANDLE entrada;  // its standard input, our requests
    HANDLE saida;    // its replies, read with a time limit
    HANDLE evento;   // of the pending read
    bool colhido = false;
    DWORD codigo = 0;
};

namespace {

QString ultimoErro() {
    return textoDoErro(GetLastError());
}

// One argument as the C runtime splits a command line back.
std::wstring entreAspas(const QString& argumento) {
    std::wstring saida = L"\"";
    int barras = 0;
    for (const QChar c : argumento) {
        if (c == QLatin1Char('\\')) {
            ++barras;
            continue;
        }
        saida.append(std::size_t(c == QLatin1Char('"') ? barras * 2 + 1 : barras), L'\\');
        barras = 0;
        saida += wchar_t(c.unicode());
    }
    saida.append(std::size_t(barras * 2), L'\\');
    return saida + L"\"";
}

std::wstring largo(const QString& texto) {
    return QDir::toNativeSeparators(texto).toStdWString();
}

// The reply pipe is named so that it can be read with a time limit; its name
// is ours alone.
std::wstring nomeCanal() {
    static std::atomic<unsigned> contador{0};
    return QStringLiteral("\\\\.\\pipe\\tool-sat-tivoro.%1.%2")
        .arg(GetCurrentProcessId())
        .arg(++contador)
        .toStdWString();
}

struct Canos {
    HANDLE nossaEntrada = nullptr, delaEntrada = nullptr;
    HANDLE nossaSaida = nullptr, delaSaida = nullptr;
    HANDLE erro = nullptr;
    ~Canos() {
        for (HANDLE h : {nossaEntrada, delaEntrada, nossaSaida, delaSaida, erro})
            if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

bool criarCanos(Canos& c) {
    SECURITY_ATTRIBUTES herdavel{sizeof herdavel, nullptr, TRUE};
    // Replies run to megabytes: fewer, larger trips through the pipe.
    constexpr DWORD Buffer = 1 << 20;
    if (!CreatePipe(&c.delaEntrada, &c.nossaEntrada, &herdavel, Buffer) ||
        !SetHandleInformation(c.nossaEntrada, HANDLE_FLAG_INHERIT, 0))
        return false;
    const std::wstring nome = nomeCanal();
    c.nossaSaida = CreateNamedPipeW(
        nome.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, Buffer, Buffer, 0, nullptr);
    if (c.nossaSaida == INVALID_HANDLE_VALUE) return false;
    c.delaSaida = CreateFileW(nome.c_str(), GENERIC_WRITE, 0, &herdavel, OPEN_EXISTING, 0, nullptr);
    if (c.delaSaida == INVALID_HANDLE_VALUE) return false;
    // Its own prints go where ours do; a program without a console gives it
    // the null device.
    HANDLE nosso = GetStdHandle(STD_ERROR_HANDLE);
    if (!nosso || nosso == INVALID_HANDLE_VALUE ||
        !DuplicateHandle(GetCurrentProcess(), nosso, GetCurrentProcess(), &c.erro, 0, TRUE,
                         DUPLICATE_SAME_ACCESS))
        c.erro = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &herdavel,
                             OPEN_EXISTING, 0, nullptr);
    return c.erro != INVALID_HANDLE_VALUE;
}

// A Job object that kills what it holds once its last handle closes, so the
// helper cannot outlive the tool even when the tool itself is killed.
HANDLE criarGrupo() {
    HANDLE grupo = CreateJobObjectW(nullptr, nullptr);
    if (!grupo) return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limites{};
    limites.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
    SetInformationJobObject(grupo, JobObjectExtendedLimitInformation, &limites, sizeof limites);
    return grupo;
}

}  // namespace

QString ProcessoAuxiliar::programa(const QString& biblioteca) {
    const QString nome = arquiteturaBiblioteca(biblioteca) == Arquitetura::X86
                             ? QStringLiteral("sat-auxiliar-32.exe")
                             : QStringLiteral("sat-auxiliar.exe");
    return QDir::cleanPath(pastaDoPrograma() + QStringLiteral("/" SAT_AUXILIAR_DO_PROGRAMA "/") +
                           nome);
}

std::unique_ptr<ProcessoAuxiliar> ProcessoAuxiliar::iniciar(const QString& programa,
                                                            const QString& biblioteca,
                                                            QString& erro) {
    Canos c;
    if (!criarCanos(c)) {
        erro = ultimoErro();
        return nullptr;
    }
    // Only these three handles reach it, not every inheritable one of ours.
    HANDLE herdados[] = {c.delaEntrada, c.delaSaida, c.erro};
    SIZE_T tamanho = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &tamanho);
    std::string memoria(tamanho, '\0');
    auto* atributos = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(memoria.data());
    if (!InitializeProcThreadAttributeList(atributos, 1, 0, &tamanho) ||
        !UpdateProcThreadAttribute(atributos, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, herdados,
                                   sizeof herdados, nullptr, nullptr)) {
        erro = ultimoErro();
        return nullptr;
    }
    STARTUPINFOEXW inicio{};
    inicio.StartupInfo.cb = sizeof inicio;
    inicio.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    inicio.StartupInfo.hStdInput = c.delaEntrada;
    inicio.StartupInfo.hStdOutput = c.delaSaida;
    inicio.StartupInfo.hStdError = c.erro;
    inicio.lpAttributeList = atributos;
    std::wstring linha = entreAspas(QDir::toNativeSeparators(programa)) + L" " +
                         entreAspas(QDir::toNativeSeparators(biblioteca));
    PROCESS_INFORMATION pi{};
    const std::wstring exe = largo(programa);
    const BOOL criado =
        CreateProcessW(exe.c_str(), linha.data(), nullptr, nullptr, TRUE,
                       CREATE_SUSPENDED | CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT, nullptr,
                       nullptr, &inicio.StartupInfo, &pi);
    DeleteProcThreadAttributeList(atributos);
    if (!criado) {
        erro = ultimoErro();
        return nullptr;
    }
    // In its group before it runs a single instruction of the library.
    HANDLE grupo = criarGrupo();
    if (grupo) AssignProcessToJobObject(grupo, pi.hProcess);
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    auto nativo = std::make_unique<Nativo>(Nativo{pi.hProcess, grupo, c.nossaEntrada, c.nossaSaida,
                                                  CreateEventW(nullptr, TRUE, FALSE, nullptr)});
    c.nossaEntrada = c.nossaSaida = nullptr;
    return std::unique_ptr<ProcessoAuxiliar>(new ProcessoAuxiliar(std::move(nativo)));
}

ProcessoAuxiliar::ProcessoAuxiliar(std::unique_ptr<Nativo> nativo) : m(std::move(nativo)) {}

ProcessoAuxiliar::~ProcessoAuxiliar() {
    matar();
    for (HANDLE h : {m->entrada, m->saida, m->evento, m->processo})
        if (h) CloseHandle(h);
    if (m->grupo) CloseHandle(m->grupo);
}

bool ProcessoAuxiliar::enviar(const std::string& bytes) {
    const char* origem = bytes.data();
    std::size_t resta = bytes.size();
    while (resta > 0) {
        DWORD escritos = 0;
        const DWORD parte = DWORD(std::min<std::size_t>(resta, 1 << 20));
        if (!WriteFile(m->entrada, origem, parte, &escritos, nullptr) || escritos == 0)
            return false;
        origem += escritos;
        resta -= escritos;
    }
    return true;
}

long ProcessoAuxiliar::ler(char* destino, std::size_t tamanho, int ms) {
    OVERLAPPED pedido{};
    pedido.hEvent = m->evento;
    ResetEvent(m->evento);
    DWORD lidos = 0;
    const DWORD parte = DWORD(std::min<std::size_t>(tamanho, 1 << 20));
    if (ReadFile(m->saida, destino, parte, &lidos, &pedido)) return lidos > 0 ? long(lidos) : -1;
    if (GetLastError() != ERROR_IO_PENDING) return -1;
    if (WaitForSingleObject(m->evento, DWORD(ms)) != WAIT_OBJECT_0) CancelIoEx(m->saida, &pedido);
    // The buffer is ours again only once the read has ended, one way or the
    // other; a read that completed while being cancelled keeps its bytes.
    if (GetOverlappedResult(m->saida, &pedido, &lidos, TRUE)) return lidos > 0 ? long(lidos) : -1;
    return GetLastError() == ERROR_OPERATION_ABORTED ? 0 : -1;
}

bool ProcessoAuxiliar::colher(int ms) {
    if (m->colhido) return true;
    if (WaitForSingleObject(m->processo, DWORD(ms)) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(m->processo, &m->codigo);
    m->colhido = true;
    return true;
}

void ProcessoAuxiliar::matar() {
    if (m->colhido) return;
    if (m->grupo) TerminateJobObject(m->grupo, 1);
    TerminateProcess(m->processo, 1);
    // A process stuck inside a driver dies only when the driver lets go: its
    // handle is closed with us, nothing waits for it here.
    if (!colher(2000)) {
        m->colhido = true;
        m->codigo = 1;
    }
}

QString ProcessoAuxiliar::comoTerminou() {
    // It closed its side because it is ending: give it a moment to finish,
    // so the code is its own and not our kill's.
    colher(1000);
    matar();
    // Exception codes (access violation 0xC0000005, ...) are what Windows
    // gives a crashed process.
    if (m->codigo >= 0xC0000000u)
        return QStringLiteral("a exceção 0x") + QString::number(m->codigo, 16).toUpper();
    return QStringLiteral("o código de saída %1").arg(m->codigo);
}
