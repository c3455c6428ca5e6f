<%@ page contentType="text/html; charset=windows-1252" pageEncoding="windows-1252" %>
<!DOCTYPE html>
<html lang="en">
<head>
   <meta charset="windows-1252">
   <title>JSP Page</title>
</head>
<body>
<%
   String name = request.getParameter("name");
   if (name == null || name.isEmpty())
      name = "World";
   // Text from the request is escaped before it becomes part of the page.
   name = name.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
              .replace("\"", "&quot;").replace("'", "&#39;");
%>
<h1>Hello, <%= name %>!</h1>
<p>Served at <%= new java.util.Date() %></p>
</body>
</html>
