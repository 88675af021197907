// http-log PORT_FILE LOG: a web server on 127.0.0.1, at a free port that it
// writes to PORT_FILE, that notes the first line of every request in LOG (or
// "<connection>" for one that sent nothing) and answers each with a small
// text. A test that must see no game reach the network expects LOG empty.
#include <arpa/inet.h>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: http-log PORT_FILE LOG\n");
        return 2;
    }
    const int server = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (server < 0 || bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(server, 64) != 0 ||
        getsockname(server, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        std::perror("http-log");
        return 1;
    }
    std::FILE* log = std::fopen(argv[2], "a");
    std::FILE* port = std::fopen(argv[1], "w");
    if (!log || !port || std::fprintf(port, "%d\n", ntohs(address.sin_port)) < 0 ||
        std::fclose(port) != 0) {
        std::perror("http-log");
        return 1;
    }
    std::setvbuf(log, nullptr, _IOLBF, 0);
    for (;;) {
        const int client = accept(server, nullptr, nullptr);
        if (client < 0)
            continue;
        char request[4096];
        const ssize_t n = read(client, request, sizeof request - 1);
        request[n > 0 ? n : 0] = '\0';
        request[std::strcspn(request, "\r\n")] = '\0';
        std::fprintf(log, "%s\n", request[0] ? request : "<connection>");
        const char answer[] = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n"
                              "Access-Control-Allow-Origin: *\r\nContent-Length: 9\r\n\r\n"
                              "pelliwick";
        (void)!write(client, answer, sizeof answer - 1);
        close(client);
    }
}
