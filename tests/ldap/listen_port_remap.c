/* Preloaded into the test domain controller: its directory server listens
 * on the fixed LDAP ports (389, 636 and the global catalog's 3268, 3269),
 * which several test runs on one machine cannot share, and which a test run
 * should not need privileges for. bind() on one of those ports is sent to
 * the port named by an environment variable instead (port 0, any free port,
 * when the variable is unset); every other bind is left alone. */
#define _GNU_SOURCE
#include <arpa/inet.h>
#include <dlfcn.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>

typedef int (*bind_function)(int, const struct sockaddr*, socklen_t);

static unsigned short remapped_port(unsigned short port) {
    const char* variable = NULL;
    switch (port) {
    case 389:
        variable = "CORVANE_DC_LDAP_PORT";
        break;
    case 636:
        variable = "CORVANE_DC_LDAPS_PORT";
        break;
    case 3268:
    case 3269:
        return 0;
    default:
        return port;
    }
    const char* value = getenv(variable);
    return value == NULL ? 0 : (unsigned short)strtoul(value, NULL, 10);
}

int bind(int socket, const struct sockaddr* address, socklen_t length) {
    static bind_function real_bind;
    if (real_bind == NULL) {
        real_bind = (bind_function)dlsym(RTLD_NEXT, "bind");
    }
    if (address != NULL && address->sa_family == AF_INET && length >= sizeof(struct sockaddr_in)) {
        struct sockaddr_in copy = *(const struct sockaddr_in*)address;
        copy.sin_port = htons(remapped_port(ntohs(copy.sin_port)));
        return real_bind(socket, (const struct sockaddr*)&copy, sizeof copy);
    }
    if (address != NULL && address->sa_family == AF_INET6 &&
        length >= sizeof(struct sockaddr_in6)) {
        struct sockaddr_in6 copy = *(const struct sockaddr_in6*)address;
        copy.sin6_port = htons(remapped_port(ntohs(copy.sin6_port)));
        return real_bind(socket, (const struct sockaddr*)&copy, sizeof copy);
    }
    return real_bind(socket, address, length);
}
