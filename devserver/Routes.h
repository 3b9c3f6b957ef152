#pragma once

namespace devserver {

class Router;
struct ServiceContext;

// Version check, institution profile, login, logout and password reset.
void addSessionRoutes(Router &router, ServiceContext &ctx);
// Banners, menu, home sections, category lists, charts, detail and both searches.
void addCatalogueRoutes(Router &router, ServiceContext &ctx);
// Borrowing, returning, reading status, annotations and copied texts.
void addLoanRoutes(Router &router, ServiceContext &ctx);
// Member registration and the region lookups it uses.
void addRegistrationRoutes(Router &router, ServiceContext &ctx);
// Covers, logos, banners, member photos and book files.
void addStaticRoutes(Router &router, ServiceContext &ctx);

} // namespace devserver
